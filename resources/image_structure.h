// Walks over a PNG's chunks and a JPEG's marker segments that refuse what the packaged
// stb_image (2.27) would overrun, over-allocate or read uninitialised tables on: a Huffman
// table segment that declares more than 256 codes or does not fill its segment exactly, a scan
// that decodes with a Huffman table no segment before it defined, and a chunk longer than the
// bytes left (the decoder reserves a chunk's declared length before reading it).
// Owns: jpegHuffmanTablesFit, pngChunksFit. Does NOT decode anything.
#pragma once
#include <cstddef>

// False when a DHT segment of the JPEG in `bytes` is one the decoder must not see, or a scan
// uses a Huffman table that no DHT segment before it defined. Scan data
// is stepped over the way the decoder does, so a table between the scans of a progressive
// image is checked too. A stream cut short counts as fitting: the decoder refuses it itself.
bool jpegHuffmanTablesFit(const unsigned char* bytes, size_t size);

// False when a chunk of the PNG in `bytes` (past its signature, up to IEND) declares more
// bytes than follow.
bool pngChunksFit(const unsigned char* bytes, size_t size);
