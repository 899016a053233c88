// WOFF 1.0 web-font container to plain sfnt (TrueType/OpenType) bytes, so that
// stb_truetype can read the fonts that are published only as web fonts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// True when the bytes start with the WOFF 1.0 signature "wOFF".
bool isWoff(const std::vector<uint8_t>& bytes);

// Rebuilds the sfnt file: offset table, table records and every table
// inflated to its original length. False (with a reason) on a damaged file.
bool woffToSfnt(const std::vector<uint8_t>& woff, std::vector<uint8_t>& sfnt, std::string& error);
