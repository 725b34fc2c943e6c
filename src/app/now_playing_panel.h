#pragma once
// The plain panel that stands in the picture's place when there is no
// picture: the channel's name, and under it what the station plays now.
#include <QString>
#include <QWidget>

namespace cd::app {

class NowPlayingPanel : public QWidget {
    Q_OBJECT
public:
    explicit NowPlayingPanel(QWidget* parent = nullptr);

    void setTexts(const QString& heading, const QString& line);
    const QString& heading() const { return heading_; }
    const QString& line() const { return line_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString heading_;
    QString line_;
};

}  // namespace cd::app
