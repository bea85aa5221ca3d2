// Start-up of the real window: what shows on the title screen, the layout,
// the pictures and fonts, the speed bar, and the ways start-up can fail.
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>

#include <sys/stat.h>

#include "tests/window/WindowTestSupport.h"

using namespace yuunagi;
using namespace yuunagi::test;

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void titleScreenIsAllThatShows() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    QVERIFY(w.form);
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(VisibleControls(form), QStringList({"Picture1", "Picture7", "TitleLabel"}));
    QCOMPARE(form.windowTitle(), QString("ユウナギ町争奪戦"));
    QCOMPARE(form.windowHandle()->title(), QString("ユウナギ町争奪戦"));
    QCOMPARE(form.HScroll1->value(), 1000);
    QCOMPARE(form.Data().GameSpeed, 1000.0f);
    QCOMPARE(form.Data().GameState, State::NotStarted);
    for (int k = 0; k <= 5; ++k) QVERIFY(Control(form, QString("Command4(%1)").arg(k))->isHidden());
    QVERIFY(Control(form, "Command1(0)")->isVisible());
    QCOMPARE(*w.exitStatus, -1);
  }

  void layoutFollowsTheDesign() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QCOMPARE(form.size(), QSize(516, 438));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    // Twips of the design at 15 per pixel.
    QCOMPARE(Control(form, "Picture3(0)")->geometry(), QRect(16, 16, 113, 161));
    QCOMPARE(Control(form, "Picture3(4)")->geometry(), QRect(136, 184, 113, 161));
    QCOMPARE(Control(form, "Picture3(5)")->geometry(), QRect(256, 184, 113, 161));
    QCOMPARE(Control(form, "Picture11")->geometry(), QRect(16, 352, 489, 81));
    QCOMPARE(Control(form, "メッセージ")->geometry(), QRect(0, 0, 489, 81));
    QCOMPARE(Control(form, "Picture8")->geometry(), QRect(344, 272, 161, 161));
    QCOMPARE(Control(form, "Option1(2)")->geometry(), QRect(8, 80, 145, 17));
    QCOMPARE(Control(form, "Command2(3)")->geometry(), QRect(16, 96, 97, 25));
    QCOMPARE(Control(form, "Command4(0)")->geometry(), QRect(17, 24, 97, 25));
    QCOMPARE(Control(form, "HScroll1")->geometry(), QRect(8, 40, 113, 17));
    QCOMPARE(Control(form, "List1")->geometry(), QRect(376, 176, 129, 172));
    QCOMPARE(Control(form, "Command7")->geometry(), QRect(376, 152, 129, 25));
    // Labels keep their left edge and take the size of their text.
    QCOMPARE(form.TitleLabel->pos(), QPoint(43, 80));
    QCOMPARE(form.TitleLabel->size(), form.TitleLabel->sizeHint());
    QVERIFY(form.TitleLabel->geometry().right() < form.width());
    QCOMPARE(form.Data2[3]->pos(), QPoint(64, 32));
    QCOMPARE(form.Label8->text(), QString("Turn 1"));
    QCOMPARE(form.Label1[1]->text(), QString("～行動選択～"));
    QCOMPARE(form.Text1->text(), QString("1"));
  }

  void picturesDressTheWindow() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;

    // Six emblem holders, element 0 designed and 1..5 made at start-up.
    int holders = 0;
    for (PictureBox* box : form.findChildren<PictureBox*>()) {
      if (box->objectName().startsWith("SourcePicture(")) ++holders;
    }
    QCOMPARE(holders, 6);
    for (int i = 0; i < 6; ++i) {
      PictureBox* holder = Control<PictureBox>(form, QString("SourcePicture(%1)").arg(i));
      QVERIFY(holder != nullptr && holder->isHidden());
      QImage file(QString::fromStdString((folder.Pictures() / ("No" + std::to_string(i) + ".bmp")).string()));
      QImage held = holder->Picture().toImage().convertToFormat(QImage::Format_RGB32);
      held.setDevicePixelRatio(1);
      QCOMPARE(held, file.convertToFormat(QImage::Format_RGB32));
      // Drawn at twice the shown size: its logical size is half the file's.
      QCOMPARE(holder->Picture().deviceIndependentSize().toSize(), file.size() / 2);
    }

    // The map covers the window, the texture the panels, and every button
    // shares the texture's very pixmap.
    QVERIFY(!form.Drawing().isNull());
    QCOMPARE(form.Drawing().deviceIndependentSize().toSize(), form.size());
    QVERIFY(!form.Picture7->Drawing().isNull());
    const qint64 texture = form.Picture12->Picture().cacheKey();
    QCOMPARE(form.Command1[0]->Picture().cacheKey(), texture);
    QCOMPARE(form.Command3[6]->Picture().cacheKey(), texture);
    QCOMPARE(form.Command4[5]->Picture().cacheKey(), texture);
    QCOMPARE(form.Option1[3]->Picture().cacheKey(), texture);
    QCOMPARE(form.Command9->Picture().cacheKey(), texture);

    // What is on screen is the map with the title panel over it.
    const QImage shown = form.grab().toImage();
    const QImage map =
        form.Drawing().toImage().scaled(form.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const QPoint calm : {QPoint(250, 420), QPoint(5, 5), QPoint(300, 250)}) {  // under no control
      const QColor a = shown.pixelColor(calm), b = map.pixelColor(calm);
      QVERIFY(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <
              8);
    }
  }

  void stretchFillsTheWholeSurface() {
    // A picture of four coloured quarters over a box of another shape:
    // nothing is cut off and no border is left.
    QImage quarters(4, 2, QImage::Format_RGB32);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int x = 0; x < 4; ++x)
      for (int y = 0; y < 2; ++y) quarters.setPixelColor(x, y, colours[(x / 2) + 2 * y]);
    QTemporaryDir dir;
    const QString path = dir.filePath("quarters.bmp");
    QVERIFY(quarters.save(path, "BMP"));
    PictureBox source, dest;
    QVERIFY(source.LoadPicture(path));
    dest.resize(30, 90);
    StretchPicture(dest, source);
    const QImage drawn = dest.Drawing().toImage();
    QCOMPARE(drawn.size(), QSize(60, 180));
    QCOMPARE(drawn.pixelColor(1, 1), QColor(Qt::red));
    QCOMPARE(drawn.pixelColor(58, 1), QColor(Qt::green));
    QCOMPARE(drawn.pixelColor(1, 178), QColor(Qt::blue));
    QCOMPARE(drawn.pixelColor(58, 178), QColor(Qt::yellow));
  }

  void japaneseTextHasItsGlyphs() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QCOMPARE(QFontInfo(form.TitleLabel->font()).family(), QString("IPAPGothic"));
    QCOMPARE(form.TitleLabel->font().pointSizeF(), 48.0);
    QVERIFY(form.TitleLabel->font().bold());
    QCOMPARE(form.Message->font().pointSizeF(), 12.0);
    QCOMPARE(form.Label7->font().pointSizeF(), 14.25);
    QCOMPARE(form.Data1[0]->font().pointSizeF(), 11.25);
    int checked = 0;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
      QString text;
      if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) text = button->text();
      const QFontMetrics metrics(widget->font());
      for (const char32_t c : text.toUcs4()) {
        QVERIFY2(metrics.inFontUcs4(c), qPrintable(widget->objectName() + ": " + text));
        ++checked;
      }
    }
    QVERIFY(checked > 200);
  }

  void speedBarSetsTheGameSpeed() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    MainForm& form = *w.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QScrollBar* bar = form.HScroll1;
    QCOMPARE(bar->minimum(), 100);
    QCOMPARE(bar->maximum(), 2000);

    // The arrow at the right end (遅い) adds one step.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 3, bar->height() / 2));
    QCOMPARE(bar->value(), 1100);
    QCOMPARE(form.Data().GameSpeed, 1100.0f);

    // Dragging the thumb changes the speed only when it is let go.
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QRect thumb =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
    QTest::mouseMove(bar, QPoint(0, thumb.center().y()));
    QCOMPARE(form.Data().GameSpeed, 1100.0f);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(0, thumb.center().y()));
    QCOMPARE(bar->value(), 100);
    QCOMPARE(form.Data().GameSpeed, 100.0f);
  }

  void closingAtTheTitleEndsTheProgram() {
    AppFolder folder;
    StartedWindow w = StartWindow(folder);
    QVERIFY(w.form->close());
    QCOMPARE(*w.exitStatus, 0);
    QVERIFY(w.form->Ended());
  }

  void missingPictureStopsStartUp_data() {
    QTest::addColumn<QString>("file");
    for (const char* name : {"ユウナギ町.gif", "Etc.bmp", "No0.bmp", "No3.bmp", "No5.bmp"}) {
      QTest::newRow(name) << QString(name);
    }
  }

  void missingPictureStopsStartUp() {
    QFETCH(QString, file);
    AppFolder folder;
    QVERIFY(QFile::remove(QString::fromStdString(folder.Pictures().string()) + "/" + file));
    MessageBoxAnswerer answerer;
    StartedWindow w = StartWindow(folder);
    QVERIFY(!w.form);
    QCOMPARE(*w.exitStatus, 1);
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts[0].contains(file), qPrintable(answerer.texts[0]));
    QCOMPARE(answerer.captions[0], QString("ユウナギ町争奪戦"));
    // The path is shown as it is, whatever it looks like.
    QCOMPARE(answerer.formats[0], Qt::PlainText);
  }

  void unreadablePictureStopsStartUp_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("file");
    QTest::newRow("no picture inside") << "garbage"
                                       << "Etc.bmp";
    QTest::newRow("named pipe") << "fifo"
                                << "Etc.bmp";
    QTest::newRow("link to a named pipe") << "link to fifo"
                                          << "No3.bmp";
    QTest::newRow("link to a device") << "link to device"
                                      << "ユウナギ町.gif";
    QTest::newRow("folder") << "folder"
                            << "No0.bmp";
  }

  // Anything but a plain file (or a link to one) is refused before it is
  // read: a named pipe would block start-up, a device would never end.
  void unreadablePictureStopsStartUp() {
    QFETCH(QString, kind);
    QFETCH(QString, file);
    AppFolder folder;
    const QString pictures = QString::fromStdString(folder.Pictures().string());
    const QString path = pictures + "/" + file;
    QVERIFY(QFile::remove(path));
    if (kind == "garbage") {
      QFile bad(path);
      QVERIFY(bad.open(QIODevice::WriteOnly));
      bad.write("BM this is no picture");
    } else if (kind == "fifo") {
      QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "link to fifo") {
      const QString pipe = pictures + "/pipe";
      QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
      QVERIFY(QFile::link(pipe, path));
    } else if (kind == "link to device") {
      QVERIFY(QFile::link("/dev/zero", path));
    } else {
      QVERIFY(QDir(pictures).mkdir(file));
    }
    MessageBoxAnswerer answerer;
    StartedWindow w = StartWindow(folder);
    QVERIFY(!w.form);
    QCOMPARE(*w.exitStatus, 1);
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts[0].contains(file) && answerer.texts[0].contains("読み込めません"),
             qPrintable(answerer.texts[0]));
  }

  void linkToAPictureIsRead() {
    AppFolder folder;
    const QString pictures = QString::fromStdString(folder.Pictures().string());
    QVERIFY(QFile::rename(pictures + "/Etc.bmp", pictures + "/texture.bmp"));
    QVERIFY(QFile::link(pictures + "/texture.bmp", pictures + "/Etc.bmp"));
    StartedWindow w = StartWindow(folder);
    QVERIFY(w.form);
    QCOMPARE(*w.exitStatus, -1);
    QVERIFY(!w.form->Picture12->Picture().isNull());
  }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
