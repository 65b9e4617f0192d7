#pragma once

#include <string>

#include "FileOperations.h"
#include "platform/Platform.h"

class QWidget;

namespace velmora::qt {

// Copies one file behind an application-modal progress window that names the file and
// offers Cancel, as the Windows shell does. A failure is shown to the user here, with the
// system's reason, and reported as a non-zero code; a cancel sets aborted. Either way the
// destination is left as it was.
ShellCopyResult copyWithProgress(const FileOperations& files, const std::string& from,
                                 const std::string& to, QWidget* owner);

}  // namespace velmora::qt
