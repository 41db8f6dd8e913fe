#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

/// Removes what `writeAtomically` leaves behind when the process is killed between making its
/// temporary file and renaming it: in `folder`, the temporary files of the files named, last
/// modified longer ago than `age` (a younger one may belong to a write still under way).
/// Failures are ignored; the number removed.
int removeStaleTemporaryFiles(const std::filesystem::path& folder,
                              const std::vector<std::string>& fileNames, std::chrono::seconds age);
