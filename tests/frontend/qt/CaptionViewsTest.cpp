#include "CaptionViews.h"

#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "ControlDescriptions.h"
#include "EventRecorder.h"

namespace velmora::test {
namespace {

TEST(CaptionViewsTest, FramesButtonsAndLabelsFollowTheirCaption) {
    Frame frame(descriptionOf("caption", ControlKind::Frame, "Source"));
    Button button(descriptionOf("caption", ControlKind::Button, "Copy to PSP"));
    Label label(descriptionOf("caption", ControlKind::Label, "0"));
    EventRecorder recorder;
    qt::FrameView frameView(frame, nullptr);
    qt::ButtonView buttonView(button, recorder.sink(), nullptr);
    qt::LabelView labelView(label, recorder.sink(), nullptr);

    frame.setCaption("Elsewhere");
    button.setCaption("Go");
    label.setCaption("<b>12</b>");
    EXPECT_EQ(frameView.title(), "Elsewhere");
    EXPECT_EQ(buttonView.text(), "Go");
    EXPECT_EQ(labelView.text(), "<b>12</b>");
    EXPECT_EQ(labelView.textFormat(), Qt::PlainText);
}

TEST(CaptionViewsTest, AButtonClickRaisesClickOnce) {
    Button button(descriptionOf("caption", ControlKind::Button, "Browse.."));
    EventRecorder recorder;
    qt::ButtonView view(button, recorder.sink(), nullptr);
    view.resize(65, 25);
    QTest::mouseClick(&view, Qt::LeftButton);
    EXPECT_EQ(recorder.events, (std::vector<EventRecorder::Event>{{EventKind::Click, 0}}));
}

TEST(CaptionViewsTest, ALabelClicksOnlyWhenPressedAndReleasedOverIt) {
    Label label(descriptionOf("caption", ControlKind::Label, "Velmora"));
    EventRecorder recorder;
    qt::LabelView view(label, recorder.sink(), nullptr);
    view.resize(80, 30);

    QTest::mouseClick(&view, Qt::LeftButton);
    EXPECT_EQ(recorder.count(EventKind::Click), 1);
    QTest::mouseClick(&view, Qt::RightButton);
    EXPECT_EQ(recorder.count(EventKind::Click), 1);
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(recorder.count(EventKind::Click), 1);
}

TEST(CaptionViewsTest, ACaptionALittleTooWideIsTightenedToFitAndAFittingOneIsLeftAlone) {
    Label fitting(descriptionOf("caption", ControlKind::Label, "Free space (MB):"));
    qt::LabelView roomy(fitting, {}, nullptr);
    roomy.resize(300, 17);
    roomy.fitCaption();
    EXPECT_DOUBLE_EQ(roomy.font().letterSpacing(), 100.0);

    qt::LabelView tight(fitting, {}, nullptr);
    const int natural = tight.fontMetrics().horizontalAdvance(tight.text());
    tight.resize(natural * 96 / 100, 17);
    tight.fitCaption();
    EXPECT_LT(tight.font().letterSpacing(), 100.0);
    EXPECT_LE(tight.fontMetrics().horizontalAdvance(tight.text()), tight.width());
}

}  // namespace
}  // namespace velmora::test
