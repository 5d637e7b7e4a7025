#pragma once

#include <memory>

namespace tevuna {

class DesktopWallpaper;
class TDM;
class TDeskBGSetFrm;
class TInforFrm;
class TMainFrm;
class TPicSelFrm;

// Owns the data module and the windows for the life of the process, in start-up order.
class Application
{
public:
    Application();
    ~Application();

    // Prepares the working files, opens the database and creates the windows. False when the
    // database could not be opened: its message has been shown and the application must end.
    bool start();

    TMainFrm *mainForm() const { return m_mainForm.get(); }
    TDM *dataModule() const { return m_dm.get(); }
    TPicSelFrm *picSelFrm() const { return m_picSelFrm.get(); }
    TInforFrm *inforFrm() const { return m_inforFrm.get(); }
    // Replaces the desktop the wallpaper goes to (tests use their own).
    void setDesktop(std::unique_ptr<DesktopWallpaper> desktop);

private:
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TMainFrm> m_mainForm;
    std::unique_ptr<TDeskBGSetFrm> m_deskBGSet;
    std::unique_ptr<TPicSelFrm> m_picSelFrm;
    std::unique_ptr<TInforFrm> m_inforFrm;
    std::unique_ptr<DesktopWallpaper> m_desktop;
};

} // namespace tevuna
