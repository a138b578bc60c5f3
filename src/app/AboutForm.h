// AboutBox: the program's name, version, copyright and contact line.
// Closing it only hides it.
#pragma once

#include <QDialog>
#include <QFrame>

class QLabel;
class QPushButton;

namespace kestal {

// A panel with a raised inner bevel inside a lowered outer bevel.
class TBevelPanel : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent* event) override;
};

inline constexpr const char* kCopyrightLine = "Copyright (C) 2026 Kestal";
inline constexpr const char* kContactLine = "kestal@users.example.org";

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

    TBevelPanel* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QPushButton* Button1 = nullptr;  // "&OK"

    void FormCreate();
    void Button1Click();
};

}  // namespace kestal
