#pragma once

#include <QTimer>
#include <QWidget>

/// A small spinning indicator for work of unknown length; it turns only while shown.
class ActivityIndicatorView : public QWidget {
    Q_OBJECT

public:
    explicit ActivityIndicatorView(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer timer_;
    int step_ = 0;
};
