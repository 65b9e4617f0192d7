#include <QtTest/QTest>

#include <QAbstractItemView>
#include <QComboBox>
#include <algorithm>
#include <map>

#include "WindowFixture.h"

namespace velmora::test {
namespace {

// Controls that show no text of their own read as the control that heads them.
const std::map<std::string_view, std::string_view> kNamedBy{{"listSource", "frameSource"},
                                                            {"listPSP", "framePSP"},
                                                            {"picSource", "labelSource"},
                                                            {"picPSP", "labelSelPSP"}};
const std::map<std::string_view, std::string_view> kLabelledBy{
    {"sizeSource", "labelSelected"}, {"sizePSP", "labelSizePSP"}, {"freePSP", "labelPSP"}};

std::string shownText(const MainForm& form, const Control& control) {
    if (const auto by = kNamedBy.find(control.name()); by != kNamedBy.end()) {
        return shownText(form, *form.control(by->second));
    }
    if (const auto* label = dynamic_cast<const Label*>(&control)) {
        return label->Caption();
    }
    if (const auto* box = dynamic_cast<const TextBox*>(&control)) {
        return box->Text();
    }
    return dynamic_cast<const DriveList&>(control).Drive();
}

class AccessibleNamesTest : public WindowFixture {
  public:
    void nothing() {}
    void pickTheCard() {
        folder.write("MP_ROOT/100ANV01/MAQ10001.MP4");
        platform.setFreeBytes(folder.path() + "/", 1931ull << 20);
        viewAs<QComboBox>("drivePSP").activated(0);  // asks to make a video folder there: No
        viewAs<QComboBox>("drivePSP").activated(1);
    }
    void selectAVideo() {
        auto& list = viewAs<QAbstractItemView>("listSource");
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(1, 0)).center());
    }
    void browse() {
        platform.browseTo("/");
        QTest::mouseClick(&view("btnBrowse"), Qt::LeftButton);
    }
};

struct Moment {
    void (AccessibleNamesTest::*act)();
    const char* control;
    const char* shows;
};

class AccessibleNames : public AccessibleNamesTest, public ::testing::WithParamInterface<Moment> {};

TEST_P(AccessibleNames, EachControlReadsWhatItShowsAndEachFigureItsLabel) {
    (this->*GetParam().act)();
    ASSERT_EQ(shownText(form, *form.control(GetParam().control)), GetParam().shows);
    for (const Control* control : form.controls()) {
        QAccessibleInterface& reader = accessible(control->name());
        EXPECT_EQ(reader.text(QAccessible::Name).toStdString(), shownText(form, *control))
            << control->name();
        EXPECT_FALSE(reader.text(QAccessible::Description).isEmpty()) << control->name();
        if (control->kind() == ControlKind::Label) {
            const QAccessibleTextInterface* text = reader.textInterface();
            ASSERT_NE(text, nullptr) << control->name();
            EXPECT_EQ(text->text(0, text->characterCount()), reader.text(QAccessible::Name));
        }
    }
    for (const auto& [figure, label] : kLabelledBy) {
        const auto labels = accessible(figure).relations(QAccessible::Label);
        const auto by = [&](const auto& relation) { return relation.first == &accessible(label); };
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), by)) << figure;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Moments, AccessibleNames,
    ::testing::Values(Moment{&AccessibleNamesTest::nothing, "freePSP", "0"},
                      Moment{&AccessibleNamesTest::pickTheCard, "freePSP", "1931"},
                      Moment{&AccessibleNamesTest::selectAVideo, "sizeSource", "3"},
                      Moment{&AccessibleNamesTest::browse, "dirSource", "/"}));

}  // namespace
}  // namespace velmora::test
