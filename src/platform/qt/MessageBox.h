#pragma once

#include <optional>
#include <string>

class QWidget;

namespace velmora::qt {

// A modal message box that takes the Windows flags (mb::kYesNo, mb::kIconQuestion,
// mb::kIconError, mb::kDefaultButton2) and returns the Windows answer (mb::kAnswerYes,
// mb::kAnswerNo, mb::kAnswerOk). Closing a Yes/No box without choosing answers No.
int showMessageBox(QWidget* owner, const std::string& text, int flags,
                   const std::optional<std::string>& title);

}  // namespace velmora::qt
