#include "MessageBox.h"

#include <QMessageBox>

#include "app/MainForm.h"
#include "platform/Platform.h"

namespace velmora::qt {
namespace {

QMessageBox::Icon iconFor(int flags) {
    if (flags & mb::kIconError) {
        return QMessageBox::Critical;
    }
    if (flags & mb::kIconQuestion) {
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Windows breaks lines at "\r\n"; a lone "\r" would show as a box on some fonts.
QString plainLines(const std::string& text) {
    QString lines = QString::fromStdString(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

}  // namespace

int showMessageBox(QWidget* owner, const std::string& text, int flags,
                   const std::optional<std::string>& title) {
    QMessageBox box(owner);
    box.setWindowTitle(QString::fromStdString(title.value_or(std::string(MainForm::kCaption))));
    // File names may hold '<' or '&': never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(plainLines(text));
    box.setIcon(iconFor(flags));
    if (flags & mb::kYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((flags & mb::kDefaultButton2) ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    box.exec();
    if (flags & mb::kYesNo) {
        return box.clickedButton() == box.button(QMessageBox::Yes) ? mb::kAnswerYes : mb::kAnswerNo;
    }
    return mb::kAnswerOk;
}

}  // namespace velmora::qt
