#pragma once

#include <memory>

namespace tevuna {

class TDM;
class TMainFrm;

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

private:
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TMainFrm> m_mainForm;
};

} // namespace tevuna
