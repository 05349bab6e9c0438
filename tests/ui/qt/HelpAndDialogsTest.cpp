#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "ui/qt/HelpWindow.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/SvgPicture.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

TEST(HelpPage, TheFileBesideTheProgramComesFirst) {
    TestApplication();
    TempDir folder;
    writeFile(folder / "ZandvastHelp.html", "<p>Eigen hulp</p>");
    EXPECT_EQ(qt::HelpPageSource(QString::fromStdString(folder.path())).toStdString(),
              folder / "ZandvastHelp.html");
    EXPECT_EQ(qt::LoadHelpPage(QString::fromStdString(folder.path())), "<p>Eigen hulp</p>");
}

TEST(HelpPage, WithoutAFileTheBuiltInPageIsShown) {
    TestApplication();
    TempDir folder;
    const QString page = qt::LoadHelpPage(QString::fromStdString(folder.path()));
    EXPECT_TRUE(page.contains("Escape")) << "the picker's gestures are explained";
    EXPECT_TRUE(page.contains("dubbelklikken"));
    EXPECT_TRUE(page.contains("Prullenbak"));
}

std::pair<QString, MessageAnswer> Answer(const std::string& text, MessageStyle style,
                                         std::function<void(QMessageBox*)> act) {
    TestApplication();
    QString shown;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        EXPECT_EQ(box->windowTitle(), "Zandvast & Backup Tool");
        act(box);
    });
    qt::QtDialogs dialogs;
    const MessageAnswer answer = dialogs.messageBox(text, style);
    return {shown, answer};
}

TEST(QtDialogs, LineBreaksAreShownAsNewLines) {
    const auto [shown, answer] =
        Answer("HUIDIG backupvolume:  A\r\nWas:  B\r\n\r\nDOORGAAN ?", MessageStyle::YesNo,
               [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(shown, "HUIDIG backupvolume:  A\nWas:  B\n\nDOORGAAN ?");
    EXPECT_EQ(answer, MessageAnswer::Yes);
}

TEST(QtDialogs, ClosingAQuestionAnswersNo) {
    const auto [shown, answer] = Answer("Doelmap bestaat niet. Maken?", MessageStyle::YesNo,
                                        [](QMessageBox* box) { box->reject(); });
    EXPECT_EQ(answer, MessageAnswer::No);
}

TEST(QtDialogs, EscapeOnOkCancelAnswersCancel) {
    const auto [shown, answer] =
        Answer("Schijf vol; verwissel schijf en druk op OK", MessageStyle::OkCancel,
               [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(answer, MessageAnswer::Cancel);
}

TEST(QtDialogs, TheStylesHaveTheirButtonsAndIcons) {
    TestApplication();
    QMessageBox box;
    qt::SetUpMessageBox(box, "x", MessageStyle::OkExclamation);
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    qt::SetUpMessageBox(box, "x", MessageStyle::Ok);
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
    qt::SetUpMessageBox(box, "x", MessageStyle::OkCancel);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Ok));
    qt::SetUpMessageBox(box, "x", MessageStyle::YesNo);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Yes));
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
}

TEST(QtEventPump, PumpsAtMostOncePerInterval) {
    TestApplication();
    qt::QtEventPump pump;
    int mirrors = 0;
    pump.mirror = [&] { ++mirrors; };
    for (int i = 0; i < 100000; ++i) pump.yield();
    EXPECT_GE(pump.pumps(), 1);
    EXPECT_LT(pump.pumps(), 1000);
    EXPECT_EQ(mirrors, pump.pumps()) << "the window is mirrored only when the pump runs";
    QTest::qWait(qt::QtEventPump::kIntervalMs + 5);
    const long before = pump.pumps();
    pump.yield();
    EXPECT_EQ(pump.pumps(), before + 1);
}

TEST(QtEventPump, RepaintNowMirrorsAndPaintsAtOnce) {
    TestApplication();
    qt::QtEventPump pump;
    int mirrors = 0, paints = 0;
    pump.mirror = [&] { ++mirrors; };
    pump.repaint = [&] { ++paints; };
    pump.repaintNow();
    pump.repaintNow();
    EXPECT_EQ(mirrors, 2);
    EXPECT_EQ(paints, 2);
}

TEST(SvgPicture, ReadsThePathCommandsItUses) {
    bool ok = false;
    const QPainterPath path = qt::ParseSvgPathData("M1 2 L3 4 h2 v-2 C1 1 2 2 3 3 q1 1 2 2 Z", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(path.elementAt(0).x, 1);
    EXPECT_EQ(path.elementAt(1).y, 4);
    EXPECT_EQ(path.elementAt(2).x, 5);
    EXPECT_EQ(path.elementAt(3).y, 2);
    qt::ParseSvgPathData("M1 2 X 3", &ok);
    EXPECT_FALSE(ok);
}

TEST(SvgPicture, EveryPictureOfTheWindowLoadsAndDraws) {
    WidgetRig r;  // the window makes the built-in resources reachable
    for (const char* name : {"sync", "nosync", "syncplus", "novfy", "dustbin", "emptyfolder"}) {
        qt::SvgPicture picture;
        ASSERT_TRUE(picture.loadFile(QString(":/pictures/%1.svg").arg(name))) << name;
        EXPECT_EQ(picture.viewBox(), QRectF(0, 0, 32, 32)) << name;
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        picture.render(painter, QRectF(0, 0, 64, 64));
        painter.end();
        int drawn = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) drawn += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(drawn, 200) << name;
    }
}

TEST(SvgPicture, RefusesBrokenFiles) {
    qt::SvgPicture picture;
    EXPECT_FALSE(picture.load("<svg viewBox='0 0 10 10'><path d='M 1'/>"));
    EXPECT_FALSE(picture.load("not xml"));
    EXPECT_TRUE(picture.isNull());
}

}  // namespace
}  // namespace zv::test
