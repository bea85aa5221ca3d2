#include "core/StartUp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include <future>
#include <random>
#include <string>
#include <vector>

#include "core/PlayerSettings.h"
#include "core/Screens.h"
#include "files/GameQuestions.h"

namespace yuunagi {

namespace {

// The window's picture files, in the order start-up loads them: the town
// map, the texture, the emblems of the six factions.
std::vector<std::string> PictureFiles() {
  std::vector<std::string> files = {"ユウナギ町.gif", "Etc.bmp"};
  for (int i = 0; i < kFactionCount; ++i) files.push_back("No" + std::to_string(i) + ".bmp");
  return files;
}

// Reads the picture files [first, last) of PictureFiles().
std::vector<DecodedPicture> DecodePictures(const std::filesystem::path& folder, std::size_t first,
                                           std::size_t last) {
  const std::vector<std::string> files = PictureFiles();
  std::vector<DecodedPicture> pictures;
  for (std::size_t i = first; i < last; ++i) {
    pictures.push_back(DecodePicture(QString::fromStdString((folder / files[i]).string())));
  }
  return pictures;
}

// Dresses the window with its pictures. On failure returns the message that
// names the first file that could not be read.
std::optional<QString> DressWindow(MainForm& form, std::vector<DecodedPicture> pictures) {
  for (const DecodedPicture& picture : pictures) {
    if (picture.image.isNull()) return picture.error;
  }
  form.SetTownPictures(std::move(pictures[0].image), std::move(pictures[1].image));
  for (int i = 0; i < kFactionCount; ++i) form.SetEmblem(i, std::move(pictures[2 + i].image));
  return std::nullopt;
}

// The game speaks Japanese: Qt's own buttons too (はい / いいえ), whatever
// the desktop's language. Without the translation they stay in English.
void InstallQtJapanese() {
  auto* qtJapanese = new QTranslator(qApp);
  if (qtJapanese->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtJapanese);
  }
}

// What the player chose last time: the zoom, the music switch, the computer's strength.
void ApplyPlayerSettings(MainForm& form, bool chancesGiven) {
  const PlayerSettings settings = PlayerSettings::Load();
  form.SetZoom(settings.zoom);
  form.SetMusicOn(settings.musicOn);
  form.SetStrongComputer(settings.strongComputer);
  // The strong player's look-ahead has chances of its own: fresh ones every
  // start, so its first moves differ from one evening to the next. A caller
  // that brings the game's chances (a test) keeps the engine's fixed seed.
  if (!chancesGiven) {
    std::random_device device;
    form.Game().SetStrongSeed((static_cast<std::uint64_t>(device()) << 32) ^ device());
  }
}

}  // namespace

std::unique_ptr<MainForm> StartUp(WindowOptions options) {
  std::unique_ptr<RandomSource> random = std::move(options.random);
  const bool chancesGiven = random != nullptr;
  if (!chancesGiven) random = std::make_unique<SeededRandom>(SeededRandom::SeedFromClock());

  const bool found = options.folders.has_value();
  GameFolders folders = found ? std::move(*options.folders) : FoldersBeside(options.appFolder);
  if (found && options.music.fallbackFolder.empty()) options.music.fallbackFolder = folders.Music().string();
  // The pictures are read from now on, beside the opening of the music and
  // the building of the window: the town map (the slowest to decode) on a
  // thread of its own, the others on another. They are used once the window
  // is built, in the order of start-up.
  std::future<std::vector<DecodedPicture>> map =
      std::async(std::launch::async, DecodePictures, folders.Pictures(), 0, 1);
  std::future<std::vector<DecodedPicture>> others =
      std::async(std::launch::async, DecodePictures, folders.Pictures(), 1, PictureFiles().size());
  auto music = std::make_unique<MusicPlayer>(options.music);
  music->OpenMusic();

  QApplication::setFont(LayoutFont(9));
  InstallQtJapanese();
  auto form = std::make_unique<MainForm>(std::move(folders), std::move(random), std::move(music),
                                         options.exitProcess);
  form->KeepScreens(std::make_unique<Screens>(*form));

  std::vector<DecodedPicture> pictures = map.get();
  for (DecodedPicture& picture : others.get()) pictures.push_back(std::move(picture));
  if (const std::optional<QString> error = DressWindow(*form, std::move(pictures))) {
    QMessageBox box(QMessageBox::Critical, ToQString(GameTitle), *error, QMessageBox::Ok);
    // The message holds a path, which may look like markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
    form->Music().CloseMusic();
    options.exitProcess(1);
    return nullptr;
  }

  ApplyPlayerSettings(*form, chancesGiven);
  form->PlayMusic("オープニング");
  form->show();
  // A game the autosave kept is offered before anything else, from the event
  // loop: the player may close the window over the question, which ends it.
  MainForm* window = form.get();
  QTimer::singleShot(0, window, [window] { OfferAutosavedGame(*window); });
  return form;
}

}  // namespace yuunagi
