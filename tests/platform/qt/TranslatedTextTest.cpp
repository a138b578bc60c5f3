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
    // Patterns of several parts; the longer pattern where a shorter one
    // would take its last part.
    {"3 Sessions, 1 Failed Attempts", "3 Sessions, 1 Failed Attempts",
     "3 Sitzungen, 1 Fehlversuche"},
    {"3 Sessions, 1 Failed Attempts; 12 lines not understood",
     "3 Sessions, 1 Failed Attempts; 12 lines not understood",
     "3 Sitzungen, 1 Fehlversuche; 12 Zeilen nicht verstanden"},
    {"2 of 3 Sessions, 0 of 1 Failed Attempts", "2 of 3 Sessions, 0 of 1 Failed Attempts",
     "2 von 3 Sitzungen, 0 von 1 Fehlversuchen"},
    // A part that holds "%2" and ": " of its own stays as it is.
    {"/tmp/a: %2.gz: read failed: Input/output error",
     "/tmp/a: %2.gz: read failed: Input/output error",
     "/tmp/a: %2.gz: Lesen fehlgeschlagen: Input/output error"},
    // A warning and the files it is about: each line by itself, a file's
    // line only by a pattern (never the warning swallowed into a part).
    {"Some logs end early; what they hold is shown.\r\n/a.gz: compressed data cut short: read "
     "up to where it ends\r\n/b.gz: compressed data damaged (bad CRC): read up to the damage",
     "Some logs end early; what they hold is shown.\r\n/a.gz: compressed data cut short: read "
     "up to where it ends\r\n/b.gz: compressed data damaged (bad CRC): read up to the damage",
     "Einige Protokolle enden vorzeitig; ihr Inhalt wird angezeigt.\r\n/a.gz: komprimierte Daten "
     "abgeschnitten: bis zu ihrem Ende gelesen\r\n/b.gz: komprimierte Daten beschädigt (bad "
     "CRC): bis zur beschädigten Stelle gelesen"},
    {"The data for this call appears to have been corrupted in line number 7. A warning "
     "replaces the corrupted line.",
     "The data for this call appears to have been corrupted in line number 7. A warning "
     "replaces the corrupted line.",
     "Die Daten dieser Verbindung scheinen in Zeile 7 beschädigt zu sein. Eine Warnung ersetzt "
     "die beschädigte Zeile."},
    // Texts the catalogue doesn't hold, or a pattern's ends without a part.
    {"Following along", "Following along", "Following along"},
    {"x\r\nWarning\r\n", "x\r\nWarning\r\n", "x\r\nWarnung\r\n"},
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
