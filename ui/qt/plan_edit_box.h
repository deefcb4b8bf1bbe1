#pragma once

#include <QPlainTextEdit>
#include <string>

#include "plans/plan_box.h"

namespace pk10 {

// 编辑框_计划: read-only plan text. Of the characters typed only Ctrl+C reaches it, and Ctrl+X
// copies as Ctrl+C does; it has no context menu. Showing a new text changes only the lines
// that differ from the shown ones, because the plan grows by a line or two per draw and
// laying out a long plan again takes much longer than the draw interval allows.
class PlanEditBox final : public QPlainTextEdit, public PlanBox {
    Q_OBJECT
public:
    explicit PlanEditBox(QWidget* parent = nullptr);

    void showText(std::string_view text) override;
    // Replaces the whole text at once (what showText does when nothing is shown yet).
    void replaceAll(std::string_view text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::string shown_;  // the UTF-8 text now in the box, line ends as given
};

}  // namespace pk10
