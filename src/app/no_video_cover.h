#pragma once
// A plain panel over the video while nothing is drawn there: sound only, or
// nothing playing. The video widget keeps the last frame it drew, and a radio
// channel after a TV channel would otherwise play under that frozen frame.
#include <QLabel>
#include <functional>

namespace cd::app {

class MpvPlayerWidget;

class NoVideoCover : public QLabel {
    Q_OBJECT
public:
    /// Covers video whenever it shows no video; title names what plays
    /// (asked each time the cover shows), "" for nothing.
    NoVideoCover(MpvPlayerWidget* video, std::function<QString()> title);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    MpvPlayerWidget* video_;
    std::function<QString()> title_;
};

}  // namespace cd::app
