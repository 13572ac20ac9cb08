// CopyFiles: the COPY list copied from the CD-ROM to the destination with a scaled progress bar.
//
// A COPY line is "source,destination[,PC-9821 source]": the source is a file name or wildcard
// pattern relative to the source folder, the destination a folder with macros.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/install/step_context.h"

namespace setup {

void CopyFiles(StepContext& context);

// What a COPY source field names on the CD-ROM, found as the copy step finds it.
struct CopySource {
  std::string folder;                  // the folder the files are copied from
  std::string searchPath;              // that folder and the field's name or pattern
  std::vector<FoundEntry> files;       // the files the step copies, in the order listed
  std::vector<FoundEntry> passedOver;  // hidden, system and label entries the pattern matches too
};

CopySource MatchCopySource(const SetupScript& script, Platform& platform, const std::string& field);

// Copies one file, as listed in its source folder, under the same name, replacing an existing
// one (a read-only or hidden one too), and leaves the copy with the archive attribute alone
// (read-only, hidden and system from the CD-ROM are cleared). intoNewFolder: the destination
// folder did not exist before this COPY line, so no file of another origin can be in the way.
// False when the file could not be copied.
bool CopyOneFile(Platform& platform, const FoundEntry& file, const std::string& sourceFolder,
                 const std::string& destinationFolder, bool intoNewFolder);

// The divisor from bytes to progress units that keeps the bar's range within 16 bits.
std::int64_t ProgressScale(std::int64_t totalBytes);

}  // namespace setup
