// Base64 with the standard alphabet, in the form protected text is stored:
// no "=" padding and no line breaks are written, and the decoder skips every
// character outside the alphabet (padding, line breaks, blanks).
#pragma once

#include <cstddef>

#include "platform/win/win_types.h"

// The capacity the encoder demands for bytes of input: bytes * 4 / 3
// (integer division) rounded up to a multiple of 4. Never less than the
// characters written.
std::size_t Base64EncodeRequiredLength(std::size_t bytes);

// Encodes src into dest, whose capacity is *destLen characters; on success
// *destLen is the number written (no terminator). Each 3 bytes give 4
// characters, a last 1 byte 2 characters and 2 bytes 3. False with
// ERROR_INSUFFICIENT_BUFFER when the capacity is below
// Base64EncodeRequiredLength, ERROR_INVALID_PARAMETER for null pointers.
bool Base64Encode(const BYTE* src, std::size_t srcLen, char* dest, std::size_t* destLen);

// Decodes at most srcLen characters of src, stopping early at a zero
// character, into dest, whose capacity is *destLen bytes; on success
// *destLen is the number written. Each 4 alphabet characters give 3 bytes, a
// last 3 give 2 bytes, 2 give 1 and 1 gives none. False when the output
// would exceed the capacity.
bool Base64Decode(const char* src, std::size_t srcLen, BYTE* dest, std::size_t* destLen);
