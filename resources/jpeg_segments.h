// A walk over a JPEG's marker segments that refuses what the packaged stb_image (2.27) would
// write past its tables on: a Huffman table segment that declares more than 256 codes, or
// whose tables do not fill the segment exactly.
// Owns: jpegHuffmanTablesFit. Does NOT decode anything.
#pragma once
#include <cstddef>

// False when a DHT segment of the JPEG in `bytes` is one the decoder must not see. Scan data
// is stepped over the way the decoder does, so a table between the scans of a progressive
// image is checked too. A stream cut short counts as fitting: the decoder refuses it itself.
bool jpegHuffmanTablesFit(const unsigned char* bytes, size_t size);
