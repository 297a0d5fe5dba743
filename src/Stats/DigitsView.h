#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

/// A number in a given font with every digit the same width, so it does not shift sideways
/// as it changes.
class DigitsView : public QWidget {
    Q_OBJECT

public:
    DigitsView(const QFont& font, QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
