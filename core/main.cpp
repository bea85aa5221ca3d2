// ユウナギ町争奪戦: the game's entry.
#include <QApplication>

#include "core/StartUp.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  yuunagi::WindowOptions options;
  options.appFolder = QCoreApplication::applicationDirPath().toStdString();
  // Leaves every event loop, the title's as well as a message box's, so the
  // program ends wherever the game is.
  options.exitProcess = [](int status) { QCoreApplication::exit(status); };
  const std::unique_ptr<yuunagi::MainForm> form = yuunagi::StartUp(std::move(options));
  if (!form) return 1;
  return QApplication::exec();
}
