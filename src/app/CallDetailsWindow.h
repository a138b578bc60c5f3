// The call details window ("FrmCall"): the lines of one call, read-only,
// printed on request. Closing it only hides it.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/Platform.h"

class QPlainTextEdit;
class QPushButton;

namespace kestal {

class CallDetailsWindow : public QDialog {
    Q_OBJECT
public:
    explicit CallDetailsWindow(Platform& platform, QWidget* parent = nullptr);
    ~CallDetailsWindow() override;

    // Components, by their object names.
    QPushButton* closeButton = nullptr;   // "Button1": "&Close"
    QPlainTextEdit* callLines = nullptr;  // "Memo1"
    QPushButton* printButton = nullptr;   // "Button2": "&Print"

    void closeClicked();
    void printClicked();

    // The shown lines as the log's own bytes; the box shows them as Latin-1.
    const std::vector<std::string>& lines() const { return lines_; }
    void clearLines();
    // Replaces the lines in one go.
    void setLines(std::vector<std::string> lines);

    // Non-modal, in front, with the focus on the Close button.
    void showDetails();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& platform_;
    std::vector<std::string> lines_;
};

}  // namespace kestal
