// FrmCall: the call details window. Shows the lines of one call in Memo1,
// read-only, and prints them on request. Closing it only hides it.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/Platform.h"

class QPlainTextEdit;
class QPushButton;

namespace kestal {

class TFrmCall : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCall(Platform& platform, QWidget* parent = nullptr);
    ~TFrmCall() override;

    QPushButton* Button1 = nullptr;  // "&Close"
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button2 = nullptr;  // "&Print"

    void FormCreate();
    void Button1Click();
    void Button2Click();

    // Memo1's lines as the log's own bytes; the box shows them as Latin-1.
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
