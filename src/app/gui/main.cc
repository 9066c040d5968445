// edbrecover-gui [FILE]: the desktop window. A FILE given on the command
// line is taken as if chosen by Browse.
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <new>
#include <stdexcept>

#include "app/gui/main_dialog.h"
#include "app/ui/out_of_memory.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("edbrecover-gui");
  QApplication::setApplicationVersion(EDB_VERSION);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 2 || arguments.contains("--help") || arguments.contains("-h")) {
    std::fprintf(stderr, "usage: edbrecover-gui [FILE]\n");
    return arguments.size() > 2 ? 2 : 0;
  }
  try {
    edbgui::MainDialog dialog;
    if (arguments.size() == 2) dialog.ChooseDatabase(arguments[1]);
    dialog.showMaximized();
    return app.exec();
  } catch (const std::bad_alloc&) {
    QMessageBox::critical(nullptr, "Zendrask Systems Exchange Recovery", "Out Of Memory");
    return edb::kOutOfMemoryExitCode;
  } catch (const std::runtime_error& error) {
    std::fprintf(stderr, "edbrecover-gui: %s\n", error.what());
    return 1;
  }
}
