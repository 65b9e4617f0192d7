#include "TextBoxView.h"

#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "ControlDescriptions.h"

namespace velmora::test {
namespace {

TEST(TextBoxViewTest, WhatTheUserTypesIsTheModelsTextAtOnce) {
    TextBox model(descriptionOf("dirSource", ControlKind::TextBox, "Select a folder"));
    qt::TextBoxView view(model, nullptr);
    EXPECT_EQ(view.text(), "Select a folder");
    view.selectAll();
    QTest::keyClicks(&view, "/tmp/v");
    EXPECT_EQ(model.Text(), "/tmp/v");
    QTest::keyClick(&view, Qt::Key_Backspace);
    EXPECT_EQ(model.Text(), "/tmp/");
}

TEST(TextBoxViewTest, TextSetByTheHandlersShowsAndKeepsTheCursorWhileTyping) {
    TextBox model(descriptionOf("dirSource", ControlKind::TextBox, "Select a folder"));
    qt::TextBoxView view(model, nullptr);
    model.setText("/home/me/Videos");
    EXPECT_EQ(view.text(), "/home/me/Videos");

    view.setCursorPosition(5);
    QTest::keyClick(&view, Qt::Key_X);
    EXPECT_EQ(model.Text(), "/homex/me/Videos");
    EXPECT_EQ(view.cursorPosition(), 6);
}

}  // namespace
}  // namespace velmora::test
