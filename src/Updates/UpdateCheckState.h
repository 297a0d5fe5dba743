#pragma once

#include <QMetaType>
#include <QString>

#include <utility>

/// How far updating has got, as the About tab shows it. A value: the payload belongs to its
/// kind (a fraction only while downloading, a message only when failed).
class UpdateCheckState {
public:
    enum class Kind {
        /// Nothing under way, also after a download has finished.
        idle,
        /// The user asked for a check and no answer has arrived.
        checking,
        /// An update is being downloaded.
        downloading,
        /// The last check found no newer version.
        upToDate,
        /// Starting the updater or a download failed.
        failed,
    };

    UpdateCheckState() = default;

    static UpdateCheckState idle() { return {}; }
    static UpdateCheckState checking() { return UpdateCheckState(Kind::checking); }
    /// `fraction` is the part done, 0.0 to 1.0.
    static UpdateCheckState downloading(double fraction) {
        UpdateCheckState state(Kind::downloading);
        state.fraction_ = fraction;
        return state;
    }
    static UpdateCheckState upToDate() { return UpdateCheckState(Kind::upToDate); }
    static UpdateCheckState failed(QString message) {
        UpdateCheckState state(Kind::failed);
        state.message_ = std::move(message);
        return state;
    }

    Kind kind() const { return kind_; }
    /// The part downloaded; 0.0 unless downloading.
    double fraction() const { return fraction_; }
    /// Why it failed; empty unless failed.
    const QString& message() const { return message_; }

    bool operator==(const UpdateCheckState&) const = default;

private:
    explicit UpdateCheckState(Kind kind) : kind_(kind) {}

    Kind kind_ = Kind::idle;
    double fraction_ = 0.0;
    QString message_;
};

Q_DECLARE_METATYPE(UpdateCheckState)
