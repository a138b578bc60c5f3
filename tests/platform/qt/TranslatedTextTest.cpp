// The commands' texts as the windows show them: English as they are without
// a catalogue, German with the program's German one, whole or by pattern.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTranslator>

#include "commands/Messages.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/TranslatedText.h"

namespace kestal {
namespace {

// Takes every catalogue out again, so that the other tests read English.
void unloadCatalogues() {
    for (QTranslator* catalogue : QCoreApplication::instance()->findChildren<QTranslator*>())
        delete catalogue;
}

class TranslatedTextTest : public ::testing::Test {
protected:
    TranslatedTextTest() { useTextPatterns(kMessagePatterns); }
    ~TranslatedTextTest() override {
        unloadCatalogues();
        useTextPatterns({});
    }
};

struct Case {
    std::string_view text;
    const char* english;
    const char* german;
};

const Case kCases[] = {
    // Whole texts, line ends as the commands write them.
    {kClearQuestion, "Are Sure you want to clear the PPPLOG.TXT file?",
     "Soll die Datei PPPLOG.TXT wirklich geleert werden?"},
    {kAttemptLoadQuestion,
     "The PPPLOG.TXT file may have been corrupted.\r\nAttempt to load the file anyway?\r\nThis "
     "make take a few seconds.",
     "Die Datei PPPLOG.TXT ist möglicherweise beschädigt.\r\nTrotzdem versuchen, die Datei zu "
     "laden?\r\nDas kann einige Sekunden dauern."},
    {"Warning", "Warning", "Warnung"},
    // A path inside a pattern, kept byte for byte (UTF-8 and Latin-1).
    {"/home/k\xc3\xa4the/ppplog.txt does not look like a PPP log.",
     "/home/käthe/ppplog.txt does not look like a PPP log.",
     "/home/käthe/ppplog.txt scheint kein PPP-Protokoll zu sein."},
    {"Cannot open file /tmp/caf\xe9.log.", "Cannot open file /tmp/café.log.",
     "Die Datei /tmp/café.log kann nicht geöffnet werden."},
    {"12 Calls", "12 Calls", "12 Verbindungen"},
    // Texts the catalogue doesn't hold, or a pattern's ends without a part.
    {"Following", "Following", "Following"},
    {" Calls", " Calls", " Calls"},
    {"", "", ""},
};

TEST_F(TranslatedTextTest, EnglishWithoutCatalogueGermanWithIt) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(translatedText(c.text), QString::fromUtf8(c.english));
    }
    ASSERT_TRUE(loadCatalogue("de"));
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(translatedText(c.text), QString::fromUtf8(c.german));
    }
}

TEST_F(TranslatedTextTest, OnlyLanguagesWithACatalogueAreLoaded) {
    for (const char* language : {"", "en", "fr", "../de"}) {
        SCOPED_TRACE(language);
        EXPECT_FALSE(loadCatalogue(language));
        EXPECT_EQ(translatedText(kClearQuestion), QString::fromUtf8(kClearQuestion.data()));
    }
}

TEST_F(TranslatedTextTest, GermanDialogsHaveGermanCaptionsAndButtons) {
    ASSERT_TRUE(loadCatalogue("de"));
    QtPlatform platform;
    QString caption, text;
    QStringList buttons;
    platform.setDialogRunner([&](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        caption = box.windowTitle();
        text = box.text();
        buttons.clear();
        for (QAbstractButton* button : box.buttons()) buttons << button->text();
        box.escapeButton()->click();
        return 0;
    });
    EXPECT_EQ(platform.messageDlg(kClearQuestion, DialogType::Confirmation, DialogButtons::YesNo),
              DialogResult::No);
    EXPECT_EQ(caption, QStringLiteral("Bestätigen"));
    EXPECT_EQ(text, QStringLiteral("Soll die Datei PPPLOG.TXT wirklich geleert werden?"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein")}));
    platform.messageDlg(kAttemptLoadQuestion, DialogType::Warning, DialogButtons::Ok);
    EXPECT_EQ(caption, QStringLiteral("Warnung"));
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("Die Datei PPPLOG.TXT ist möglicherweise beschädigt.\nTrotzdem")));
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
}

}  // namespace
}  // namespace kestal
