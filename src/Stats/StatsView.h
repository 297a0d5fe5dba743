#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class DigitsView;
class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;
class UsageStatsStore;
struct PlatformWords;

/// The Stats tab: the number of successful jumps, the five applications jumped to most, a
/// reset button, and how to use Kestavon. It follows the store's published counters.
class StatsView : public QWidget {
    Q_OBJECT

public:
    /// A piece of text, drawn in the accent colour when highlighted.
    struct Segment {
        QString text;
        bool highlight = false;
        bool operator==(const Segment&) const = default;
    };
    struct Instruction {
        /// A symbol name as SymbolIcon knows it.
        QString symbol;
        QString text;
    };

    /// `onReset` runs when "Reset" is clicked; the host resets the store.
    StatsView(const UsageStatsStore& store, std::function<void()> onReset, QWidget* parent = nullptr);

    /// The usage instructions in the platform's words, in the order shown.
    static QList<Instruction> instructions(const PlatformWords& words);
    /// "Hold the right Command key and press a bound key to jump to that app.", with the
    /// platform's trigger key.
    static QString jumpInstruction(const PlatformWords& words);
    /// Splits `text` around its first `phrase`: the part before (possibly empty), the phrase
    /// highlighted, the part after (possibly empty); or the whole text unhighlighted.
    static QList<Segment> highlightedSegments(const QString& text, const QString& phrase);
    /// The segments as rich text, the highlighted one in the accent colour of `palette`.
    static QString highlightedText(const QString& text, const QString& phrase, const QPalette& palette);

protected:
    void changeEvent(QEvent* event) override;

private:
    void showStats();
    void applyColours();
    QWidget* buildStatsColumn();
    QWidget* buildInstructionColumn();

    const UsageStatsStore& store_;
    std::function<void()> onReset_;
    QString triggerKey_;
    QList<Instruction> instructions_;
    DigitsView* total_ = nullptr;
    QLabel* summary_ = nullptr;
    QWidget* topApps_ = nullptr;
    QVBoxLayout* topRows_ = nullptr;
    QFrame* divider_ = nullptr;
    QList<QLabel*> instructionTexts_;
    QList<QLabel*> instructionSymbols_;
    bool applyingColours_ = false;
};
