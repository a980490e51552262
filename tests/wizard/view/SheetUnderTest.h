#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/ScriptedMessageBoxes.h"
#include "platform/view/QtText.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/ScriptedFileDialogs.h"
#include "wizard/view/ClConditionEntrySheet.h"

// A condition sheet as the run sequence builds it for one of SheetBooks' data sets, with scripted message boxes
// and file dialogs, driven by real key and mouse events.
struct SheetUnderTest {
    explicit SheetUnderTest(int dataSet, const std::string& callerPath = {})
        : sheet("事業概況書 - 集計条件", nullptr, 0, dataSet == SheetBooks::kUg30Set, mapping, items, boxes, dialogs) {
        SheetBooks::FillValues(sheet.Model().Values, dataSet, callerPath);
    }
    // A control of the sheet, or of one of its pages, by its id.
    template <typename Widget = QWidget>
    Widget* Control(int id, QWidget* page = nullptr) {
        return (page != nullptr ? page : &sheet)->findChild<Widget*>(QStringLiteral("c%1").arg(id));
    }
    // A key pressed and released where the keyboard focus is.
    void Press(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(sheet.focusWidget(), Qt::Key(key), modifiers); }
    // Runs the sheet modally; the steps run once it is active and must end it.
    int Exec(const std::function<void()>& steps) {
        QTimer::singleShot(0, &sheet, [this, steps] {
            sheet.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&sheet));
            steps();
            EXPECT_FALSE(sheet.isVisible()) << "the steps left the sheet open";
            if (sheet.isVisible()) sheet.done(-1);
        });
        return sheet.exec();
    }

    MappingList mapping;
    ItemList items;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    ClConditionEntrySheet sheet;
};

inline QString Cp932(const char* text) { return QtText::FromCp932(text); }
