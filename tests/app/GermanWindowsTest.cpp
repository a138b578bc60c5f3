// The windows under a German locale: the program's German catalogue is
// loaded, and the menus, the status label and the filter bar speak German,
// each menu's items with access letters of their own.
#include <QCheckBox>
#include <QMenuBar>
#include <QSet>
#include <QTranslator>
#include <clocale>

#include "AppFixture.h"
#include "commands/Messages.h"
#include "platform/Locale.h"
#include "platform/qt/TranslatedText.h"

namespace kestal::testing {
namespace {

class GermanWindows : public AppTest {
protected:
    GermanWindows() {
        previous_ = std::setlocale(LC_MESSAGES, nullptr);
        german_ = std::setlocale(LC_MESSAGES, "de_DE.UTF-8") != nullptr;
        useTextPatterns(kMessagePatterns);
        if (german_) catalogue_ = loadCatalogue(messagesLanguage());
    }
    ~GermanWindows() override {
        for (QTranslator* catalogue : qApp->findChildren<QTranslator*>()) delete catalogue;
        useTextPatterns({});
        std::setlocale(LC_MESSAGES, previous_.c_str());
    }
    void SetUp() override {
        if (!german_) GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
        ASSERT_TRUE(catalogue_) << "no German catalogue built into the program";
    }

private:
    std::string previous_;
    bool german_ = false;
    bool catalogue_ = false;
};

TEST_F(GermanWindows, MenusStatusAndFilterAreGerman) {
    writeLog(kThreeCallLog);
    createWindows();
    const struct {
        const char* name;
        const char* text;
    } menus[] = {{"File1", "&Datei"},
                 {"Edit1", "&Bearbeiten"},
                 {"Call1", "&Verbindung"},
                 {"View1", "&Ansicht"},
                 {"Help1", "&Hilfe"}};
    for (const auto& m : menus) EXPECT_EQ(menu(m.name)->title().toStdString(), m.text);
    const struct {
        const char* name;
        const char* text;
    } items[] = {{"Open1", "&Öffnen"},
                 {"SaveAs1", "Tabelle speichern &unter..."},
                 {"Exit1", "&Beenden"},
                 {"ShowCallDetails2", "Verbindungs&details anzeigen"},
                 {"CopyCall1", "Verbindung &kopieren"},
                 {"Statistics1", "S&tatistik..."},
                 {"About1", "&Info..."}};
    for (const auto& i : items) EXPECT_EQ(action(i.name)->text().toStdString(), i.text);
    EXPECT_EQ(statusLabel()->text().toStdString(), "3 Verbindungen");
    EXPECT_EQ(child<QCheckBox>(*main, "ErrorsCheck")->text().toStdString(),
              "Verbindungen mit &Fehlern");
}

TEST_F(GermanWindows, EachMenusItemsHaveAccessLettersOfTheirOwn) {
    writeLog(kThreeCallLog);
    createWindows();
    QList<QWidget*> menus{child<QMenuBar>(*main, "MainMenu1")};
    for (const char* name : {"File1", "Edit1", "Call1", "View1", "Help1", "PopupMenu1"})
        menus << menu(name);
    for (QWidget* menu : menus) {
        QSet<QChar> letters;
        for (const QAction* item : menu->actions()) {
            const QString text = item->text();
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            if (at < 0 || at + 1 >= text.size()) continue;
            const QChar letter = text[at + 1].toUpper();
            EXPECT_FALSE(letters.contains(letter))
                << menu->objectName().toStdString() << ": " << text.toStdString();
            letters.insert(letter);
        }
    }
}

}  // namespace
}  // namespace kestal::testing
