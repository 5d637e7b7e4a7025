#pragma once

#include <QDateTime>
#include <QWidget>

namespace tevuna {

// The calendar control: holds one chosen date and raises OnChange whenever it changes.
// For now it shows the chosen date as text; the month grid comes with the lunar engine.
class TChnCalendar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QDateTime DateTime READ DateTime WRITE setDateTime NOTIFY OnChange)

public:
    explicit TChnCalendar(QWidget *parent = nullptr);

    QDateTime DateTime() const { return m_dateTime; }
    // Setting the same value (time of day included) does nothing.
    void setDateTime(const QDateTime &value);

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QDateTime m_dateTime;
};

} // namespace tevuna
