#include "core/StartUp.h"

#include <QApplication>
#include <QMessageBox>

#include <string>

namespace yuunagi {

namespace {

QString PicturePath(const MainForm& form, const std::string& file) {
  return QString::fromStdString((form.PictureFolder() / file).string());
}

// Loads the window's pictures and dresses the window with them. On failure
// returns the message that names the file.
std::optional<QString> DressWindow(MainForm& form) {
  QString error;
  if (!form.Picture9->LoadPicture(PicturePath(form, "ユウナギ町.gif"), &error)) return error;
  if (!form.Picture12->LoadPicture(PicturePath(form, "Etc.bmp"), &error)) return error;

  StretchPicture(form, *form.Picture9);
  for (PictureBox* panel : {form.Picture11, form.Picture1, form.Picture2, form.Picture4, form.Picture5,
                            form.Picture6, form.Picture7, form.Picture8, form.Picture10}) {
    StretchPicture(*panel, *form.Picture12);
  }

  for (GraphicOption* option : form.Option1) CopyPicture(*option, *form.Picture12);
  CopyPicture(*form.Command7, *form.Picture12);
  CopyPicture(*form.Command8, *form.Picture12);
  CopyPicture(*form.Command9, *form.Picture12);
  for (int k = 0; k < 7; ++k) {
    CopyPicture(*form.Command2[k], *form.Picture12);
    CopyPicture(*form.Command3[k], *form.Picture12);
  }
  for (GraphicButton* button : form.Command4) CopyPicture(*button, *form.Picture12);
  for (int k = 0; k < 2; ++k) {
    CopyPicture(*form.Command1[k], *form.Picture12);
    CopyPicture(*form.Command5[k], *form.Picture12);
  }

  // One emblem holder per faction; the first is part of the design, the
  // others are made here like it.
  for (int i = 0; i < kFactionCount; ++i) {
    if (i > 0) {
      auto* holder = new PictureBox(&form);
      holder->setObjectName(QStringLiteral("SourcePicture(%1)").arg(i));
      holder->setGeometry(form.SourcePicture[0]->geometry());
      holder->hide();
      form.SourcePicture[i] = holder;
    }
    if (!form.SourcePicture[i]->LoadPicture(PicturePath(form, "No" + std::to_string(i) + ".bmp"), &error)) {
      return error;
    }
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<MainForm> StartUp(WindowOptions options) {
  std::unique_ptr<RandomSource> random = std::move(options.random);
  if (!random) random = std::make_unique<SeededRandom>(SeededRandom::SeedFromClock());

  const bool found = options.folders.has_value();
  GameFolders folders = found ? std::move(*options.folders) : FoldersBeside(options.appFolder);
  if (found && options.music.fallbackFolder.empty()) options.music.fallbackFolder = folders.Music().string();
  auto music = std::make_unique<MusicPlayer>(options.music);
  music->OpenMusic();

  QApplication::setFont(MainForm::LayoutFont(9));
  auto form = std::make_unique<MainForm>(std::move(folders), std::move(random), std::move(music),
                                         options.exitProcess);

  if (const std::optional<QString> error = DressWindow(*form)) {
    QMessageBox box(QMessageBox::Critical, ToQString(GameTitle), *error, QMessageBox::Ok);
    // The message holds a path, which may look like markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
    form->Music().CloseMusic();
    options.exitProcess(1);
    return nullptr;
  }

  form->Music().PlayMusic("オープニング");
  form->show();
  return form;
}

}  // namespace yuunagi
