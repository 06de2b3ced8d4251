// Start-up: the main window first, then the three data modules, then the event loop.
#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_HorseStatus.h"
#include "U_MainWindow.h"
#include "U_ProgramFont.h"

#include <QApplication>

#include <memory>

#ifdef STALLARK_QUIT_WHEN_PAINTED // only in the start-up benchmark's copy of the viewer
#include "QuitWhenPainted.h"
#endif

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    UseProgramFont();

    const auto mainForm = std::make_unique<TMainForm>();
    MainForm = mainForm.get();
    const auto horseStatus = std::make_unique<TDM_HorseStatus>();
    DM_HorseStatus = horseStatus.get();
    const auto fileAccess = std::make_unique<TDM_FileAccess>();
    DM_FileAccess = fileAccess.get();
    const auto analyze = std::make_unique<TDM_Analyze>(*DM_HorseStatus);
    DM_Analyze = analyze.get();

    MainForm->show();
#ifdef STALLARK_QUIT_WHEN_PAINTED
    new QuitWhenPainted(*MainForm);
#endif
    return QApplication::exec();
}
