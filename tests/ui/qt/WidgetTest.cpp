#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QToolButton>
#include <QTreeView>

#include "ui/DustbinWindow.h"
#include "ui/ModeDisplay.h"
#include "ui/qt/ArrowBox.h"
#include "ui/qt/Colours.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/ElidedLabel.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Picture.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

// A job in synchronise mode on the screen, not yet confirmed.
class MainWindowWidgets : public ::testing::Test {
  protected:
    void SetUp() override {
        makeDirs(r.rig.root / "bron");
        makeDirs(r.rig.root / "backup");
        w().ui.sourceBox.text = r.rig.root / "bron";
        w().ui.backupBox.text = r.rig.root / "backup";
        w().ui.fromDateBox.text = "19-12-1960 12:58:58";
        w().ui.dateFilterBox.value = 1;
        w().dateFilterClicked();
        w().job.verify = w().job.synchronise = true;
        showMode(w(), JobMode::Synchronise);
        w().resized();
        r.show();
    }
    AppWindow& w() { return r.w(); }
    qt::MainWindow& win() { return r.win(); }
    std::string text(QLineEdit* box) { return box->text().toStdString(); }

    WidgetRig r;
};

// The arrows are drawn as lines in their colours and the space bar steps a
// frame; the date check box greys the date; a refused date turns red and
// takes the focus; a confirmed job takes no typing.
TEST_F(MainWindowWidgets, ColoursKeysAndLocks) {
    EXPECT_EQ(win().frame2()->lineColours()[1],
              qt::toQColor(kSys3DDarkShadow, win().frame2()->palette()));
    QTest::mouseClick(win().frame2(), Qt::LeftButton);
    QTest::mouseClick(win().frame2(), Qt::LeftButton);  // check only
    EXPECT_EQ(win().frame2()->lineColours()[0], win().frame2()->palette().color(QPalette::Light));
    win().frame1()->setFocus();
    QTest::keyClick(win().frame1(), Qt::Key_Space);  // no check
    EXPECT_FALSE(w().job.verify);
    EXPECT_EQ(win().frame1()->lineColours()[0], QColor(255, 0, 0));
    QTest::mouseClick(win().dateCheck(), Qt::LeftButton);
    EXPECT_TRUE(w().job.noDateFilter);
    EXPECT_EQ(win().dateBox()->palette().color(QPalette::Text), QColor(0x9e, 0x9e, 0x9e));
    QTest::mouseClick(win().dateCheck(), Qt::LeftButton);
    EXPECT_FALSE(w().job.noDateFilter);
    win().dateBox()->setText("geen datum");
    w().ui.fromDateBox.text = "geen datum";
    QTest::mouseClick(win().okButton(), Qt::LeftButton);
    EXPECT_EQ(win().statusPanel(2)->text(), "dd-mm-jj uu:mm:ss");
    EXPECT_EQ(win().dateBox()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(QApplication::focusWidget(), win().dateBox());
    w().ui.fromDateBox.text = "";
    QTest::mouseClick(win().okButton(), Qt::LeftButton);
    EXPECT_TRUE(win().goButton()->text().contains("&GO"));
    EXPECT_FALSE(win().frame1()->isEnabled() || win().dateCheck()->isEnabled());
    QTest::keyClicks(win().pathBox(0), "xyz");
    EXPECT_EQ(text(win().pathBox(0)), r.rig.root / "bron");
}

// The desktop and the computer are places to jump to.
TEST_F(MainWindowWidgets, ThePickerOffersTheDesktopAndTheComputer) {
    qt::FolderPicker* picker = win().picker();
    makeDirs(r.rig.root / "Bureaublad");
    w().svc.env.desktopPath = r.rig.root / "Bureaublad";
    w().desktopName = w().readDesktopName();
    w().computerName = "werkplek";
    QTest::mouseDClick(win().pathBox(0), Qt::LeftButton);
    EXPECT_EQ(picker->desktopButton()->text(), "Bureaublad");
    EXPECT_EQ(picker->computerButton()->text(), "werkplek");
    QTest::mouseClick(picker->desktopButton(), Qt::LeftButton);
    QTRY_COMPARE(picker->currentFolder().toStdString(), r.rig.root / "Bureaublad");
    QTest::keyClick(picker->tree(), Qt::Key_Enter);
    EXPECT_EQ(w().ui.sourceBox.text, r.rig.root / "Bureaublad");
    QTest::mouseDClick(win().pathBox(0), Qt::LeftButton);
    QTest::mouseClick(picker->computerButton(), Qt::LeftButton);
    QTRY_COMPARE(picker->currentFolder(), QString("/"));
    EXPECT_EQ(picker->tree()->currentIndex().data().toString(), "werkplek");
    QTest::keyClick(picker->tree(), Qt::Key_Escape);
}

TEST_F(MainWindowWidgets, ProgressDisplayIsMirrored) {
    w().ui.progressBar = {true, 0, 200, 50};
    w().ui.currentFileLabel.text = "/bron/bestand.txt";
    w().ui.panel(3) = "Van: 7";
    w().ui.caption = "25 %   Zandvast v.1.0.0";
    win().mirror();
    EXPECT_TRUE(win().progressBar()->isVisible());
    EXPECT_EQ(win().progressBar()->maximum(), 200);
    EXPECT_EQ(win().progressBar()->value(), 50);
    EXPECT_EQ(win().fileLabel()->fullText(), "/bron/bestand.txt");
    EXPECT_EQ(win().statusPanel(3)->text(), "Van: 7");
    EXPECT_EQ(win().windowTitle(), "25 %   Zandvast v.1.0.0");
}

// At the smallest size every status panel shows its longest text whole;
// a larger window gives its space to the path boxes and the progress bar,
// and keeps the status bar and the mode display as they are.
TEST_F(MainWindowWidgets, TheSmallestAndALargerWindow) {
    w().ui.statusPanels = {"Bezig af te sluiten...",
                           "Bestanden: 12345         [ Verwijderd: 12345 ]", "99 min 59 sec"};
    win().mirror();
    win().resize(win().minimumSize());
    QTest::qWait(20);
    for (int panel = 1; panel <= 3; ++panel) {
        QLabel* label = win().statusPanel(panel);
        EXPECT_GE(label->contentsRect().width(),
                  label->fontMetrics().horizontalAdvance(label->text()))
            << panel;
    }
    QWidget* statusBar = win().statusPanel(1)->parentWidget();
    const auto offset = [&] {
        return win().picture("syncPicture")->geometry().center().y() -
               win().frame1()->geometry().center().y();
    };
    const int barHeight = statusBar->height(), pathWidth = win().pathBox(0)->width();
    const int progressWidth = win().progressBar()->width(), pictureOffset = offset();
    win().resize(win().width() * 2, win().height() * 2);
    QTest::qWait(20);
    EXPECT_EQ(statusBar->height(), barHeight);
    EXPECT_EQ(offset(), pictureOffset);
    EXPECT_GT(win().pathBox(0)->width(), pathWidth);
    EXPECT_GT(win().progressBar()->width(), progressWidth);
}

// Closing the window is a break; a close asked for inside a handler waits
// until the handler has returned.
TEST_F(MainWindowWidgets, ClosingIsABreakThatWaitsForTheHandler) {
    bool finished = false;
    QObject::connect(r.window.get(), &qt::MainWindow::finished, [&] { finished = true; });
    win().runHandler([&] {
        win().close();
        EXPECT_TRUE(w().userBreak);
        EXPECT_FALSE(finished);
    });
    EXPECT_FALSE(win().isVisible());
    EXPECT_TRUE(finished);
    EXPECT_TRUE(w().ui.closed);
}

// Waits, serving events, until `done` or about two seconds have passed.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) QTest::qWait(10);
    return done();
}

// With the focus in the date box and the backup folder missing, one click
// on OK asks one question, while the window already shows the red backup
// box, and after Yes GO is enabled. The real boxes are used: a box that
// opens while the mouse button is down takes its release.
TEST(MainWindowQuestions, OneClickOnOKWithTheFocusInTheDateBox) {
    TestApplication();
    TestRig rig;
    makeDirs(rig.root / "bron");
    qt::QtEventPump pump;
    qt::QtDialogs dialogs(&pump);
    AppWindow w(Services{rig.fs, dialogs, rig.clock, pump, rig.trash, rig.host, rig.w().svc.env});
    qt::MainWindow win(w);
    pump.mirror = [&] { win.mirror(); };
    pump.repaint = [&] { win.repaint(); };
    w.ui.sourceBox.text = rig.root / "bron";
    w.ui.backupBox.text = rig.root / "nieuw";
    w.ui.fromDateBox.text = "19-12-1960 12:58:58";
    w.ui.dateFilterBox.value = 1;
    w.dateFilterClicked();
    w.job.verify = true;
    showMode(w, JobMode::CheckOnly);
    win.mirror();
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    win.activateWindow();
    win.dateBox()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(WaitFor([&] { return win.dateBox()->hasFocus(); }));

    int questions = 0;
    bool held = true, releaseTaken = false, redWhileAsked = false;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        ++questions;
        releaseTaken = releaseTaken || held;
        redWhileAsked = win.pathBox(2)->palette().color(QPalette::Text) == QColor(255, 0, 0);
        box->button(QMessageBox::Yes)->click();
    });
    answerer.start(10);
    QTest::mousePress(win.okButton(), Qt::LeftButton);
    held = false;
    if (!releaseTaken) QTest::mouseRelease(win.okButton(), Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] { return win.goButton()->isEnabled(); }));
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(redWhileAsked);
    EXPECT_EQ(win.statusPanel(1)->text(), "OK");
    EXPECT_TRUE(rig.fs.folderExists(rig.root / "nieuw"));
}

// The dialog for a recycle-bin job, on the screen.
class DustbinDialogWidgets : public ::testing::Test {
  protected:
    void SetUp() override {
        model.load();
        dialog = std::make_unique<qt::DustbinDialog>(model);
        dialog->show();
        (void)QTest::qWaitForWindowExposed(dialog.get());
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    QApplication& app = TestApplication();
    TestRig rig;
    DustbinWindow model{rig.w()};
    std::unique_ptr<qt::DustbinDialog> dialog;
};

TEST_F(DustbinDialogWidgets, ShowsItsControlsAndAnswersOKWithoutAChoice) {
    EXPECT_EQ(dialog->windowTitle(), "   Prullenbak");
    EXPECT_EQ(dialog->pathBox()->text(), "<RECYCLER>");
    EXPECT_FALSE(dialog->pathBox()->isEnabled());
    EXPECT_FALSE(dialog->option(1)->isChecked() || dialog->option(2)->isChecked());
    EXPECT_EQ(dialog->optionLabel(1)->text().remove('&'), "Windows RECYCLER");
    EXPECT_EQ(dialog->optionLabel(2)->text().remove('&'), "Gebruik volgende map :");
    EXPECT_EQ(dialog->okButton()->text().remove('&'), "OK");
    EXPECT_EQ(dialog->exitButton()->text().remove('&'), "Exit");
    click(dialog->okButton());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Pad bestaat niet.");
    EXPECT_TRUE(dialog->isVisible());
    click(dialog->option(1));
    EXPECT_EQ(dialog->pathBox()->text(), "");
    click(dialog->okButton());
    EXPECT_TRUE(model.closed);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(rig.w().job.dustbinToTrash);
}

// The picker opens at the box's folder on a double-click; Escape closes only
// the picker, Enter ends the choice.
TEST_F(DustbinDialogWidgets, ThePicker) {
    makeDirs(rig.root / "bak/sub");
    click(dialog->option(2));
    QTest::keyClicks(dialog->pathBox(), QString::fromStdString(rig.root / "bak"));
    const QSize closedSize = dialog->size();
    QTest::mouseDClick(dialog->pathBox(), Qt::LeftButton);
    ASSERT_TRUE(dialog->picker()->isVisible());
    EXPECT_FALSE(dialog->okButton()->isVisible() || dialog->option(1)->isVisible());
    // The picker lies wholly inside the dialog, clear of its Exit button,
    // with room for a dozen rows.
    QTest::qWait(20);
    const auto within = [&](QWidget* widget) {
        return QRect(widget->mapTo(dialog.get(), QPoint(0, 0)), widget->size());
    };
    EXPECT_TRUE(dialog->rect().contains(within(dialog->picker())));
    EXPECT_FALSE(within(dialog->picker()).intersects(within(dialog->exitButton())));
    EXPECT_GE(dialog->picker()->tree()->height(), dialog->fontMetrics().height() * 12);
    QTRY_COMPARE(dialog->picker()->currentFolder().toStdString(), rig.root / "bak");
    QTest::keyClick(dialog->picker()->tree(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->picker()->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->size(), closedSize);
    QTest::mouseDClick(dialog->pathBox(), Qt::LeftButton);
    dialog->picker()->showFolder(QString::fromStdString(rig.root / "bak/sub"));
    QTRY_COMPARE(dialog->picker()->currentFolder().toStdString(), rig.root / "bak/sub");
    QTest::keyClick(dialog->picker()->tree(), Qt::Key_Return);
    EXPECT_TRUE(dialog->okButton()->isVisible());
    EXPECT_EQ(dialog->pathBox()->text().toStdString(), rig.root / "bak/sub");
}

// The cross over the empty-folder picture acts at once, also when the dialog
// is left with Escape.
TEST_F(DustbinDialogWidgets, TheEmptyFolderPictureTogglesItsCross) {
    qt::Picture* picture = dialog->emptyFolderPicture();
    EXPECT_FALSE(picture->crossShown());
    EXPECT_EQ(picture->toolTip(), "lege mappen behouden (in de backup)");
    click(picture);
    EXPECT_TRUE(picture->crossShown());
    EXPECT_EQ(picture->toolTip(), "lege mappen wissen (in de backup)");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(model.closed);
    EXPECT_TRUE(rig.w().job.removeEmptyFolders);
    DustbinWindow again(rig.w());
    again.load();
    again.emptyFoldersClicked();
    EXPECT_FALSE(rig.w().job.removeEmptyFolders);
}

// A help file beside the program comes first; without one the built-in page
// explains the window, the picker's gestures included.
TEST(HelpPage, TheFileBesideTheProgramOrTheBuiltInPage) {
    TestApplication();
    TempDir folder;
    const QString path = QString::fromStdString(folder.path());
    const QString page = qt::loadHelpPage(path);
    for (const char* word : {"Escape", "dubbelklikken", "Prullenbak"})
        EXPECT_TRUE(page.contains(word)) << word;
    writeFile(folder / "ZandvastHelp.html", "<p>Eigen hulp</p>");
    EXPECT_EQ(qt::helpPageSource(path).toStdString(), folder / "ZandvastHelp.html");
    EXPECT_EQ(qt::loadHelpPage(path), "<p>Eigen hulp</p>");
}

// The real boxes: the application's title, CR LF shown as new lines, and
// closing or Escape giving the safe answer.
TEST(QtDialogs, BoxesAnswerAsTheUserDid) {
    TestApplication();
    const struct {
        const char* text;
        MessageStyle style;
        std::function<void(QMessageBox*)> act;
        MessageAnswer answer;
    } cases[] = {
        {"HUIDIG backupvolume:  A\r\nWas:  B\r\n\r\nDOORGAAN ?", MessageStyle::YesNo,
         [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); }, MessageAnswer::Yes},
        {"Doelmap bestaat niet. Maken?", MessageStyle::YesNo,
         [](QMessageBox* box) { box->reject(); }, MessageAnswer::No},
        {"Schijf vol; verwissel schijf en druk op OK", MessageStyle::OkCancel,
         [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, MessageAnswer::Cancel},
    };
    for (const auto& c : cases) {
        QString shown;
        WhenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->text();
            EXPECT_EQ(box->windowTitle(), "Zandvast & Backup Tool");
            // Wide enough for its title beside the window manager's buttons.
            const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
            EXPECT_GE(box->width(),
                      title.horizontalAdvance(box->windowTitle()) + 6 * title.height());
            c.act(box);
        });
        qt::QtDialogs dialogs;
        EXPECT_EQ(dialogs.messageBox(c.text, c.style), c.answer) << c.text;
        EXPECT_EQ(shown, QString(c.text).replace("\r\n", "\n"));
    }
    QMessageBox box;
    qt::setUpMessageBox(box, "x", MessageStyle::OkExclamation);
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    qt::setUpMessageBox(box, "x", MessageStyle::OkCancel);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Ok));
    qt::setUpMessageBox(box, "x", MessageStyle::YesNo);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Yes));
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
}

// Qt appends an application display name to every window title, so none is
// set; the standard buttons speak Dutch where Qt's translations are installed.
TEST(ApplicationTexts, NoTitleSuffixAndDutchStandardButtons) {
    TestApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(QCoreApplication::applicationName(), "Zandvast");
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_nl.qm"))
        GTEST_SKIP() << "Qt's Dutch translations (qt6-translations-l10n) are not installed";
    QMessageBox box;
    qt::setUpMessageBox(box, "x", MessageStyle::YesNo);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "Ja");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&'), "Nee");
}

// Yields are cheap: the pump runs (and mirrors the window) at most once per
// interval, and at once when the interval has passed.
TEST(QtEventPump, PumpsAndMirrorsAtMostOncePerInterval) {
    TestApplication();
    qt::QtEventPump pump;
    int mirrors = 0, paints = 0;
    pump.mirror = [&] { ++mirrors; };
    pump.repaint = [&] { ++paints; };
    for (int i = 0; i < 100000; ++i) pump.yield();
    EXPECT_GE(pump.pumps(), 1);
    EXPECT_LT(pump.pumps(), 1000);
    // The window is updated on the first pump and then at most every
    // mirror interval.
    EXPECT_EQ(mirrors, pump.mirrors());
    EXPECT_GE(mirrors, 1);
    EXPECT_LE(mirrors, pump.pumps());
    QTest::qWait(qt::QtEventPump::kIntervalMs + 5);
    long before = pump.pumps();
    pump.yield();
    EXPECT_EQ(pump.pumps(), before + 1);
    QTest::qWait(qt::QtEventPump::kMirrorIntervalMs + 5);
    before = pump.mirrors();
    pump.yield();
    EXPECT_EQ(pump.mirrors(), before + 1);
    EXPECT_EQ(mirrors, pump.mirrors());
    mirrors = paints = 0;
    pump.repaintNow();  // mirrors and paints at once
    EXPECT_EQ(std::make_pair(mirrors, paints), std::make_pair(1, 1));
}

TEST(Pictures, EveryPictureOfTheWindowLoadsAndDraws) {
    WidgetRig r;  // the window makes the built-in resources reachable
    for (const char* name : {"sync", "nosync", "syncplus", "novfy", "dustbin", "emptyfolder"}) {
        QSvgRenderer picture(QString(":/pictures/%1.svg").arg(name));
        ASSERT_TRUE(picture.isValid()) << name;
        EXPECT_EQ(picture.viewBoxF(), QRectF(0, 0, 32, 32)) << name;
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        picture.render(&painter, QRectF(0, 0, 64, 64));
        painter.end();
        int drawn = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) drawn += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(drawn, 200) << name;
    }
}

}  // namespace
}  // namespace zv::test
