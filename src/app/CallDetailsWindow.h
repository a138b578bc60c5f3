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

    void closeClicked();
    void printClicked();

    // The shown lines as the log's own bytes; the box shows them as Latin-1.
    const std::vector<std::string>& lines() const { return lines_; }
    void clearLines();
    // Empties the text box and hides it until showDetails, so that the
    // lines of a new call don't lay it out on their way in.
    void clearLinesHidden();
    // Replaces the lines in one go.
    void setLines(std::vector<std::string> lines);

    // The text box shown; the window non-modal, in front, with the focus on
    // the Close button.
    void showDetails();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& platform_;
    QPushButton* closeButton_ = nullptr;
    QPlainTextEdit* callLines_ = nullptr;
    QPushButton* printButton_ = nullptr;
    std::vector<std::string> lines_;
};

}  // namespace kestal
