#include "MainWindow.h"

#include <QAccessible>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "AccessibleNames.h"
#include "AppIcon.h"
#include "ControlViews.h"
#include "LabelAccessible.h"
#include "Layout.h"
#include "app/MainForm.h"
#include "qt/MountWatcher.h"

namespace velmora::qt {
namespace {

// A fixed window: a title with minimize and close, nothing that resizes it.
constexpr Qt::WindowFlags kFixedWindow = Qt::Window | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

}  // namespace

MainWindow::MainWindow(MainForm& form, QWidget* parent)
    : QWidget(parent, kFixedWindow), form_(form) {
    setObjectName(QStringLiteral("mainForm"));
    setWindowTitle(QString::fromUtf8(MainForm::kCaption.data(),
                                     static_cast<qsizetype>(MainForm::kCaption.size())));
    setWindowIcon(applicationIcon());
    // Before the first label exists: Qt keeps the first interface it makes for a widget.
    QAccessible::installFactory(&labelAccessible);
    createViews();
    nameByNeighbours(*this);
    orderTabs();
    placeOnScreen();
    new MountWatcher([&form] { form.drivesChanged(); }, this);
    // Help one key away, wherever the focus is: Tab never reaches the credit.
    new QShortcut(Qt::Key_F1, this, [&form] { form.raise("copyRight", EventKind::Click); });
}

QWidget* MainWindow::view(std::string_view name) const {
    const auto it = views_.find(name);
    return it == views_.end() ? nullptr : it->second;
}

void MainWindow::createViews() {
    const Layout layout = Layout::forScreen(screen());
    // Containers come before their contents in the form's list.
    for (Control* control : form_.controls()) {
        const std::string& container = control->description().container;
        QWidget* parent = container.empty() ? this : view(container);
        views_.emplace(control->name(), createView(*control, form_, parent, layout));
    }
}

void MainWindow::orderTabs() {
    std::vector<Control*> stops;
    for (Control* control : form_.controls()) {
        if (view(control->name())->focusPolicy() & Qt::TabFocus) {
            stops.push_back(control);
        }
    }
    std::sort(stops.begin(), stops.end(), [](const Control* a, const Control* b) {
        return a->description().tabIndex < b->description().tabIndex;
    });
    for (std::size_t i = 1; i < stops.size(); ++i) {
        setTabOrder(view(stops[i - 1]->name()), view(stops[i]->name()));
    }
    if (!stops.empty()) {
        view(stops.front()->name())->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::placeOnScreen() {
    const Layout layout = Layout::forScreen(screen());
    const QSize client(layout.pixels(MainForm::kClientWidthTwips),
                       layout.pixels(MainForm::kClientHeightTwips));
    setFixedSize(client);
    if (const QScreen* where = screen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, client,
                                        where->availableGeometry()));
    }
}

}  // namespace velmora::qt
