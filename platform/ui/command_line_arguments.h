// A Windows command line split into arguments as CommandLineToArgvW splits
// the arguments after the program name:
// - blanks and tabs outside quotation marks separate arguments;
// - a quotation mark starts or ends a quoted part and is dropped;
// - 2n backslashes before a quotation mark become n backslashes, and the
//   mark then quotes; 2n+1 become n backslashes and a literal mark;
// - backslashes anywhere else stand for themselves;
// - inside a quoted part, "" is a literal mark and ends the quoted part;
//   """ is a literal mark with the quoted part going on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::vector<std::u16string> SplitCommandLineArguments(std::u16string_view line);
