// callGrid always keeps exactly one whole row selected, whatever the keys and
// clicks that would take a row out of the selection in a plain table view.
#include <QTest>
#include <functional>

#include "AppFixture.h"

namespace kestal::testing {
namespace {

class GridSelection : public AppTest {
protected:
    void SetUp() override {
        writeLog(kThreeCallLog);
        createWindows();
        showMain();
        grid = AppTest::grid();
        grid->setFocus();
    }
    void click(int modelRow, Qt::KeyboardModifiers modifiers) {
        const QPoint cell = grid->visualRect(grid->model()->index(modelRow, 3)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell);
    }

    CallGrid* grid = nullptr;
};

TEST_F(GridSelection, CtrlOnTheSelectedRowKeepsItSelected) {
    struct Case {
        const char* name;
        std::function<void()> act;
        int row;  // model row selected after
    };
    const std::vector<Case> cases = {
        {"Ctrl+click", [&] { click(0, Qt::ControlModifier); }, 0},
        {"Ctrl+Shift+click", [&] { click(0, Qt::ControlModifier | Qt::ShiftModifier); }, 0},
        {"Ctrl+Space", [&] { QTest::keyClick(grid, Qt::Key_Space, Qt::ControlModifier); }, 0},
        {"Ctrl+click twice on another row",
         [&] {
             click(2, Qt::ControlModifier);
             click(2, Qt::ControlModifier);
         },
         2},
        {"Down, then Ctrl+Space",
         [&] {
             QTest::keyClick(grid, Qt::Key_Down);
             QTest::keyClick(grid, Qt::Key_Space, Qt::ControlModifier);
         },
         1},
    };
    for (const Case& c : cases) {
        main->view().selectFirstRow();
        c.act();
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        EXPECT_EQ(rows.size(), 1) << c.name;
        if (!rows.empty()) {
            EXPECT_EQ(rows[0].row(), c.row) << c.name;
        }
        EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), grid->model()->columnCount())
            << c.name;
        EXPECT_EQ(grid->currentIndex().row(), c.row) << c.name;
        EXPECT_EQ(main->selectedRow(), c.row) << c.name;
    }
}

}  // namespace
}  // namespace kestal::testing
