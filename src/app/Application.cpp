#include "app/Application.h"

#include "app/WorkingFiles.h"
#include "app/uMain.h"
#include "notes/uDM.h"

namespace tevuna {

Application::Application() = default;

Application::~Application()
{
    // Windows first, then the data module, which closes the database.
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
    return true;
}

} // namespace tevuna
