// The About box ("AboutBox"): the program's name, version, copyright and contact line.
// Closing it only hides it.
#pragma once

#include <QDialog>
#include <QFrame>

class QLabel;
class QPushButton;

namespace kestal {

// A panel with a raised inner bevel inside a lowered outer bevel.
class BevelPanel : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent* event) override;
};

inline constexpr const char* kCopyrightLine =
    QT_TRANSLATE_NOOP("kestal::AboutBox", "Copyright (C) 2026 Kestal");
inline constexpr const char* kContactLine =
    QT_TRANSLATE_NOOP("kestal::AboutBox", "kestal@users.example.org");

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    void okClicked();

private:
    void fillInTexts();

    BevelPanel* bevelPanel_ = nullptr;
    QLabel* iconLabel_ = nullptr;
    QLabel* productName_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* copyright_ = nullptr;
    QLabel* comments_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace kestal
