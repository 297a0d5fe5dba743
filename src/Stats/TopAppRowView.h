#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

/// One line of the most used applications: the name, cut to one line, and the count at the
/// right edge, which always stays visible.
class TopAppRowView : public QWidget {
    Q_OBJECT

public:
    TopAppRowView(QString name, std::int64_t count, QWidget* parent = nullptr);

    const QString& name() const { return name_; }
    std::int64_t count() const { return count_; }
    /// The name as drawn at the current width.
    QString shownName() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect countRect() const;

    QString name_;
    std::int64_t count_;
};
