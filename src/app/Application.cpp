#include "app/Application.h"

#include "app/WorkingFiles.h"
#include "app/uMain.h"
#include "notes/uDM.h"
#include "wallpaper/desktop/DesktopWallpaper.h"
#include "wallpaper/uDeskBGSet.h"
#include "wallpaper/uInfoFrm.h"
#include "wallpaper/uPicSel.h"

namespace tevuna {

Application::Application() = default;

Application::~Application()
{
    // Windows first, then the data module, which closes the database.
    m_inforFrm.reset();
    m_picSelFrm.reset();
    m_mainForm.reset();
    m_dm.reset();
}

bool Application::start()
{
    prepareWorkingFiles();
    m_dm = std::make_unique<TDM>();
    if (!m_dm->OpenDatabase())
        return false;
    m_mainForm = std::make_unique<TMainFrm>(*m_dm);
    m_deskBGSet = std::make_unique<TDeskBGSetFrm>();
    m_picSelFrm = std::make_unique<TPicSelFrm>(m_mainForm.get());
    m_inforFrm = std::make_unique<TInforFrm>(m_mainForm.get());
    m_desktop = createDesktopWallpaper();
    m_mainForm->setCompositionParts(m_deskBGSet.get(), m_picSelFrm.get(), m_inforFrm.get(),
                                    m_desktop.get());
    return true;
}

void Application::setDesktop(std::unique_ptr<DesktopWallpaper> desktop)
{
    m_desktop = std::move(desktop);
    m_mainForm->setCompositionParts(m_deskBGSet.get(), m_picSelFrm.get(), m_inforFrm.get(),
                                    m_desktop.get());
}

} // namespace tevuna
