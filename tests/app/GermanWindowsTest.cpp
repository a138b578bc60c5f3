// The windows under a German locale: the program's German catalogue is
// loaded, and the menus, the status label, the filter bar, the Statistics
// window's titles, the pppd log's Outages and Trends windows, Follow's
// status and the About box speak German, each menu's items with access
// letters of their own; what is copied stays English.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTranslator>
#include <clocale>

#include "AppFixture.h"
#include "app/figures/OutagesWindow.h"
#include "app/figures/PppdTrendsWindow.h"
#include "app/figures/StatisticsWindow.h"
#include "commands/Messages.h"
#include "output/PppdStatistics.h"
#include "platform/Locale.h"
#include "platform/qt/TranslatedText.h"

namespace kestal::testing {
namespace {

// A session, a failed attempt and a line of no log's form.
constexpr const char* kPppdSyslog =
    "garbage without a prefix\n"
    "Dec  1 10:00:00 host pppd[100]: pppd 2.4.9 started by root, uid 0\n"
    "Dec  1 10:00:02 host pppd[100]: Connect: ppp0 <--> /dev/ttyUSB0\n"
    "Dec  1 10:00:04 host pppd[100]: local  IP address 10.0.0.2\n"
    "Dec  1 10:30:10 host pppd[100]: Connection terminated.\n"
    "Dec  1 10:30:11 host pppd[100]: Exit.\n"
    "Dec  1 11:00:00 host pppd[200]: pppd 2.4.9 started by root, uid 0\n"
    "Dec  1 11:00:30 host pppd[200]: LCP: timeout sending Config-Requests\n";

std::vector<std::string> headersOf(const QAbstractItemModel& model) {
    std::vector<std::string> titles;
    for (int c = 0; c < model.columnCount(); ++c)
        titles.push_back(model.headerData(c, Qt::Horizontal).toString().toStdString());
    return titles;
}

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

TEST_F(GermanWindows, PppdStatusStatisticsFollowAndAboutAreGerman) {
    writeLog(kThreeCallLog);
    createWindows();
    action("Statistics1")->trigger();
    auto* statistics = main->findChild<StatisticsWindow*>(QStringLiteral("StatisticsWindow"));
    ASSERT_NE(statistics, nullptr);
    const QAbstractItemModel* figures = child<QTableView>(*statistics, "FiguresGrid")->model();
    EXPECT_EQ(figures->headerData(0, Qt::Horizontal).toString().toStdString(), "Zeitraum");
    EXPECT_EQ(figures->headerData(14, Qt::Horizontal).toString().toStdString(),
              "Fehler je 1000 Rahmen");
    EXPECT_EQ(child<QLabel>(*about, "Version")->text().toStdString(), "Version: 1.12");

    // A pppd log; then followed.
    platform.fileDialogAnswers.push_back(windows.write("syslog", kPppdSyslog));
    action("Open1")->trigger();
    EXPECT_EQ(statusLabel()->text().toStdString(),
              "1 Sitzungen, 1 Fehlversuche; 1 Zeilen nicht verstanden");
    action("Follow1")->setChecked(true);
    EXPECT_EQ(child<QLabel>(*main, "FollowStatus")->text().toStdString(), "Mitlesen");
    action("Follow1")->setChecked(false);
}

TEST_F(GermanWindows, PppdFiguresWindowsAndFilteredStatusAreGerman) {
    writeLog(kThreeCallLog);
    createWindows();
    platform.fileDialogAnswers.push_back(windows.write("syslog", kPppdSyslog));
    action("Open1")->trigger();
    action("Filter1")->trigger();
    child<QCheckBox>(*main, "FailedCheck")->setChecked(true);
    EXPECT_EQ(statusLabel()->text().toStdString(), "0 von 1 Sitzungen, 1 von 1 Fehlversuchen");
    child<QCheckBox>(*main, "FailedCheck")->setChecked(false);

    action("Outages1")->trigger();
    auto* outages = main->findChild<OutagesWindow*>(QStringLiteral("OutagesWindow"));
    ASSERT_NE(outages, nullptr);
    EXPECT_EQ(outages->windowTitle().toStdString(), "Ausfälle - Kestal File Viewer");
    EXPECT_EQ(child<QLabel>(*outages, "OutagesLabel")->text().toStdString(), "1 Ausfälle");
    EXPECT_EQ(headersOf(*child<QTableView>(*outages, "OutagesTable")->model()),
              (std::vector<std::string>{"Beginn", "Ende", "Dauer", "Ursache", "Fehlversuche"}));
    // Copied, the outages are data: their titles stay English.
    child<QPushButton>(*outages, "CopyButton")->click();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(
        QStringLiteral("Start\tEnd\tLength\tCause\tFailed Attempts")))
        << QApplication::clipboard()->text().toStdString();

    action("Statistics1")->trigger();
    auto* statistics = main->findChild<StatisticsWindow*>(QStringLiteral("StatisticsWindow"));
    ASSERT_NE(statistics, nullptr);
    const std::vector<std::string> titles =
        headersOf(*child<QTableView>(*statistics, "FiguresGrid")->model());
    ASSERT_EQ(titles.size(), kPppdStatisticsHeaders.size());
    for (const auto& [column, german] : std::vector<std::pair<int, const char*>>{
             {kSessionsFigure, "Sitzungen"},
             {kDropsFigure, "Abbrüche"},
             {kReconnectFigure, "Mittlere Zeit bis zur Wiederverbindung"},
             {kFirstEndedByFigure, "Echo-Zeitüberschreitung"},
             {kPppdStatisticsColumnCount - 1, "Unbekannt"}})
        EXPECT_EQ(titles[static_cast<std::size_t>(column)], german);

    action("Trends1")->trigger();
    auto* trends = main->findChild<PppdTrendsWindow*>(QStringLiteral("PppdTrendsWindow"));
    ASSERT_NE(trends, nullptr);
    EXPECT_EQ(trends->windowTitle().toStdString(), "Verlauf - Kestal File Viewer");
    TrendChart* perDay = child<TrendChart>(*trends, "PerDayChart");
    EXPECT_EQ(perDay->plots().back()->axis(QCPAxis::atBottom)->label().toStdString(), "Tag");
    EXPECT_EQ(perDay->plottable(1)->name().toStdString(), "Abbrüche");
    TrendChart* dropMap = child<TrendChart>(*trends, "DropMapChart");
    const QCPAxis* weekdays = dropMap->plots().front()->axis(QCPAxis::atBottom);
    EXPECT_EQ(weekdays->label().toStdString(), "Wochentag");
    auto ticker = weekdays->ticker().dynamicCast<QCPAxisTickerText>();
    ASSERT_FALSE(ticker.isNull());
    EXPECT_EQ(ticker->ticks().value(0).toStdString(), "Mo");
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
