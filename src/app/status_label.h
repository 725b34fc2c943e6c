#pragma once
// One line of status text: too long a text ends in "…" and shows whole in
// its tooltip, so nothing is cut without a way to read it.
#include <QLabel>

namespace cd::app {

class StatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit StatusLabel(QWidget* parent = nullptr);
    void setStatus(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateTip();
    QString full_;
};

}  // namespace cd::app
