#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/ScriptedMessageBoxes.h"
#include "wizard/view/ClConditionEntrySheet.h"
#include "platform/view/QtText.h"
#include "wizard/ScriptedFileDialogs.h"

// A condition sheet as the run sequence builds it for one of SheetBooks'
// data sets (1: UG16, 2: UG30), with scripted message boxes and file
// dialogs, and the helpers that drive it by real key and mouse events.
struct SheetUnderTest {
    explicit SheetUnderTest(int dataSet, const std::string& callerPath = {})
        : sheet("事業概況書 - 集計条件", nullptr, 0, dataSet == 2 ? 1 : 0, mapping, items, boxes, dialogs) {
        ConditionSheetValues& values = sheet.Model().Values;
        std::strcpy(values.UserId, "tester");
        values.SelectedNo1 = 7;
        values.SelectedNo2 = dataSet;
        values.OutputPath = callerPath;
        values.PeriodStart = dataSet == 2 ? 20230401 : 20170401;
        values.PeriodEnd = dataSet == 2 ? 20240331 : 20180331;
        values.IntroMonthPos = 1;
        values.NetAssetsCaption = 1;
        values.CompanyNameText = " 株式会社テスト";
        values.PeriodText = dataSet == 2 ? " 2023/04/01～2024/03/31" : " 2017/04/01～2018/03/31";
    }

    ConditionSheetModel& Model() { return sheet.Model(); }

    template <typename Widget = QWidget>
    Widget* Control(int id) {
        auto* widget = sheet.findChild<Widget*>(QStringLiteral("c%1").arg(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    template <typename Widget = QWidget>
    Widget* Control(QWidget* page, int id) {
        auto* widget = page->findChild<Widget*>(QStringLiteral("c%1").arg(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }

    // Shows the sheet (which initialises it) as the active window.
    void Show() {
        sheet.show();
        sheet.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&sheet));
    }

    // Runs the sheet modally; steps run once it is shown. Steps that leave
    // it open fail the test, and the sheet is ended with -1.
    int Exec(const std::function<void()>& steps) {
        QTimer::singleShot(0, &sheet, [this, steps] {
            sheet.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&sheet));
            steps();
            if (sheet.isVisible()) {
                ADD_FAILURE() << "the steps left the sheet open";
                sheet.done(-1);
            }
        });
        return sheet.exec();
    }

    // A key pressed and released where the keyboard focus is.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = sheet.focusWidget() != nullptr ? sheet.focusWidget() : &sheet;
        QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
    }

    int FocusedId() {
        QWidget* focused = sheet.focusWidget();
        if (focused == nullptr || !focused->objectName().startsWith(QLatin1Char('c'))) return 0;
        return focused->objectName().mid(1).toInt();
    }

    int Page() { return sheet.Tabs()->currentIndex(); }

    MappingList mapping;
    ItemList items;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    ClConditionEntrySheet sheet;
};

inline QString Cp932(const char* text) { return QtText::FromCp932(text); }
