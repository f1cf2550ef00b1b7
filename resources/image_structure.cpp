// PNG chunk walk; JPEG marker walk over segment lengths, fill bytes, stuffing and restarts.
#include "resources/image_structure.h"

#include <cstring>

namespace {

constexpr unsigned char markerPrefix = 0xFF;
constexpr unsigned char defineHuffmanTables = 0xC4;
constexpr unsigned char progressiveFrame = 0xC2;
constexpr unsigned char startOfScan = 0xDA;
constexpr unsigned char endOfImage = 0xD9;

// The tables DHT segments have defined so far, by class (0 DC, 1 AC) and slot (0-3). The
// decoder keeps its tables in memory it never clears, so a scan must not use one left undefined.
struct DefinedTables {
  bool slot[2][4] = {};
  bool has(int tableClass, int id) const { return id < 4 && slot[tableClass][id]; }
};

// Markers that stand alone, without a length: restarts, the start of the image and TEM.
bool standsAlone(unsigned char marker) { return (marker >= 0xD0 && marker <= 0xD8) || marker == 0x01; }

// One DHT payload: tables back to back, each a class/slot byte, 16 code counts per length,
// then one value byte per code. At most 256 codes fit a table.
bool huffmanPayloadFits(const unsigned char* payload, size_t length, DefinedTables& defined) {
  size_t at = 0;
  while (at < length) {
    if (length - at < 17) return false;
    const int tableClass = payload[at] >> 4, id = payload[at] & 15;
    if (tableClass <= 1 && id <= 3) defined.slot[tableClass][id] = true;
    size_t codes = 0;
    for (size_t i = 1; i <= 16; ++i) codes += payload[at + i];
    if (codes > 256) return false;
    at += 17 + codes;
  }
  return at == length;
}

// One SOS payload: the component count, per component its id and DC/AC table byte, then the
// spectral start and end and the approximation bits. A first DC scan decodes with the DC
// tables, every other scan of a progressive image with the AC ones, a sequential scan with both.
// A payload too short counts as fitting: the decoder refuses it itself.
bool scanTablesDefined(const unsigned char* payload, size_t length, bool progressive, const DefinedTables& defined) {
  if (length < 1) return true;
  const size_t components = payload[0];
  if (length < 1 + 2 * components + 3) return true;
  const unsigned char spectralStart = payload[1 + 2 * components];
  const unsigned char approximationHigh = payload[3 + 2 * components] >> 4;
  const bool usesDc = spectralStart == 0 && (!progressive || approximationHigh == 0);
  const bool usesAc = !progressive || spectralStart > 0;
  for (size_t i = 0; i < components; ++i) {
    const unsigned char tables = payload[2 + 2 * i];
    if ((usesDc && !defined.has(0, tables >> 4)) || (usesAc && !defined.has(1, tables & 15))) return false;
  }
  return true;
}

}  // namespace

bool jpegHuffmanTablesFit(const unsigned char* bytes, size_t size) {
  size_t at = 2;  // past the start-of-image marker
  DefinedTables defined;
  bool progressive = false;
  while (at + 1 < size) {
    // Scan data, stuffed 0xFF 0x00 pairs, fill bytes and restarts lie between segments.
    const unsigned char marker = bytes[at + 1];
    if (bytes[at] != markerPrefix || marker == 0x00 || marker == markerPrefix || standsAlone(marker)) {
      at += bytes[at] == markerPrefix && marker == 0x00 ? 2 : 1;
      continue;
    }
    if (marker == endOfImage || at + 3 >= size) return true;
    const size_t length = (static_cast<size_t>(bytes[at + 2]) << 8) | bytes[at + 3];
    if (marker == defineHuffmanTables &&
        (length < 2 || at + 2 + length > size || !huffmanPayloadFits(bytes + at + 4, length - 2, defined)))
      return false;
    progressive = progressive || marker == progressiveFrame;
    if (marker == startOfScan && length >= 2 && at + 2 + length <= size &&
        !scanTablesDefined(bytes + at + 4, length - 2, progressive, defined))
      return false;
    at += 2 + length;
  }
  return true;
}

bool pngChunksFit(const unsigned char* bytes, size_t size) {
  constexpr size_t signatureBytes = 8;
  constexpr size_t chunkFrameBytes = 12;  // length, type and CRC around the data
  size_t at = signatureBytes;
  while (at + chunkFrameBytes <= size) {
    const size_t length = (static_cast<size_t>(bytes[at]) << 24) | (static_cast<size_t>(bytes[at + 1]) << 16) |
                          (static_cast<size_t>(bytes[at + 2]) << 8) | bytes[at + 3];
    if (length > size - at - chunkFrameBytes) return false;
    if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) return true;  // the decoder stops there too
    at += chunkFrameBytes + length;
  }
  return true;
}
