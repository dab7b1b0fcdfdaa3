// Text as the engine takes it: UTF-8 pieces that end at sentence or line
// boundaries, so a long text is synthesised a little ahead of playback
// instead of all at once, and several voices take turns on the engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Pieces of at most about kMaxPieceLength characters; blank pieces are left
// out and NUL characters become blanks.
std::vector<std::string> SplitForSynthesis(std::u16string_view text);

inline constexpr std::size_t kMaxPieceLength = 400;

// Rate -10..10 as words per minute, 80..450 around 175 (geometric on each side).
int WordsPerMinuteForRate(long rate);
