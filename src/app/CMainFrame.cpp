#include "app/CMainFrame.h"

#include "app/QtText.h"
#include "resources/UiText.h"

namespace zefa {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(qText(ui::kAppTitle));
}

}  // namespace zefa
