// Walks over a PNG's chunks and a JPEG's marker segments that refuse what the packaged
// stb_image (2.27) would overrun or over-allocate on: a Huffman table segment that declares
// more than 256 codes or does not fill its segment exactly, and a chunk longer than the bytes
// left (the decoder reserves a chunk's declared length before reading it).
// Owns: jpegHuffmanTablesFit, pngChunksFit. Does NOT decode anything.
#pragma once
#include <cstddef>

// False when a DHT segment of the JPEG in `bytes` is one the decoder must not see. Scan data
// is stepped over the way the decoder does, so a table between the scans of a progressive
// image is checked too. A stream cut short counts as fitting: the decoder refuses it itself.
bool jpegHuffmanTablesFit(const unsigned char* bytes, size_t size);

// False when a chunk of the PNG in `bytes` (past its signature, up to IEND) declares more
// bytes than follow.
bool pngChunksFit(const unsigned char* bytes, size_t size);
