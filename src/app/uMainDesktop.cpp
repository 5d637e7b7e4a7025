// The notes on the desktop: the card of the chosen day over the next background picture of the
// list, saved as Mix.bmp and made the wallpaper.
#include "app/uMain.h"

#include "base/Reporter.h"
#include "calendarview/ChnCalendarPicker.h"
#include "notes/MemoBox.h"
#include "wallpaper/WallpaperApplier.h"
#include "wallpaper/uDeskBGSet.h"
#include "wallpaper/uGlobal.h"
#include "wallpaper/uInfoFrm.h"
#include "wallpaper/uPicSel.h"

namespace tevuna {

void TMainFrm::setCompositionParts(TDeskBGSetFrm *deskBGSet, TPicSelFrm *picSelFrm,
                                   TInforFrm *inforFrm, DesktopWallpaper *desktop)
{
    m_deskBGSet = deskBGSet;
    m_picSelFrm = picSelFrm;
    m_inforFrm = inforFrm;
    m_desktop = desktop;
}

void TMainFrm::LoadList(bool reselect)
{
    const QString error = tevuna::LoadList(reselect, m_currentPicName, m_picIndex);
    if (!error.isEmpty())
        reportError(error);
}

void TMainFrm::imgAddToDeskClick()
{
    if (!m_picSelFrm)
        return;
    m_picSelFrm->selectedPicName = m_currentPicName;
    if (m_picSelFrm->parentWidget())
        m_picSelFrm->move(geometry().center() - m_picSelFrm->rect().center());
    m_picSelFrm->exec();
    if (m_picSelFrm->selectedPicName == m_currentPicName) {
        LoadList(false);
    } else {
        m_currentPicName = m_picSelFrm->selectedPicName;
        LoadList(true);
    }
}

void TMainFrm::imgAppToDeskClick()
{
    if (!m_deskBGSet)
        return;
    WallpaperGlobals &g = wallpaperGlobals();
    if (g.askFlag && m_inforFrm) {
        m_inforFrm->Ask();
        if (g.answer != 1)
            return;
    }
    const WallpaperApplyResult result =
        WallpaperApplier(*m_deskBGSet, m_desktop)
            .apply(rdtAbc->toPlainText(), ChnCalendar1->DateTime(), m_picIndex);
    m_picIndex = result.nextPicIndex;
    if (result.message.isEmpty())
        return;
    if (result.messageIsError)
        reportError(result.message);
    else
        Reporter::current().message(result.message);
}

} // namespace tevuna
