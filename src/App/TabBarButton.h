#pragma once

#include <QAbstractButton>
#include <QString>

/// One tab of the main window's tab bar: a symbol over a title, in the accent colour while
/// selected, on a faint rounded tint while selected or under the pointer.
class TabBarButton : public QAbstractButton {
    Q_OBJECT

public:
    /// `symbol` is a name SymbolIcon knows.
    TabBarButton(const QString& title, QString symbol, QWidget* parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    bool isHovered() const { return hovered_; }
    const QString& symbol() const { return symbol_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString symbol_;
    bool selected_ = false;
    bool hovered_ = false;
};
