#pragma once

#include <QtTest>
#include <QtWidgets>

#include "platform/ScriptedMessageBoxes.h"
#include "platform/view/QtText.h"
#include "tests/wizard/SheetBooks.h"
#include "wizard/ScriptedFileDialogs.h"
#include "wizard/view/ClConditionEntrySheet.h"

// A condition sheet as the run sequence builds it, with scripted message boxes and file dialogs.
struct SheetUnderTest {
    explicit SheetUnderTest(int set, const std::string& callerPath = {})
        : sheet("事業概況書 - 集計条件", nullptr, 0, set == SheetBooks::kUg30Set, mapping, items, boxes, dialogs) {
        SheetBooks::FillValues(sheet.Model().Values, set, callerPath);
    }
    template <typename Widget = QWidget> Widget* Control(int id, QWidget* page = nullptr) {
        return (page != nullptr ? page : &sheet)->findChild<Widget*>(QStringLiteral("c%1").arg(id));
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers held = {}) { QTest::keyClick(sheet.focusWidget(), key, held); }
    // Runs the sheet modally; the steps run once it is active and must end it.
    int Exec(const std::function<void()>& steps) {
        QTimer::singleShot(0, &sheet, [this, steps] {
            sheet.activateWindow();
            if (QTest::qWaitForWindowActive(&sheet)) steps();
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
