// Shared by the libFuzzer harnesses: a private directory per process (on
// /dev/shm when there is one, so the hives' and databases' syncs stay
// cheap), removed when the process ends, and the report of a broken
// invariant as a crash libFuzzer records with its input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fuzzing {

// Created on first use.
const std::string& PrivateDirectory();
// Points KESTRO_HOME at a folder of the private directory, so registry
// hives and the data protection key of the run stay there.
void UsePrivateKestroHome();

void WriteFile(const std::string& path, std::string_view bytes);
// Empty when the file cannot be read.
std::string ReadFile(const std::string& path);

// Prints what went wrong and aborts.
[[noreturn]] void Fault(std::string_view what, std::string_view detail = {});

}  // namespace fuzzing
