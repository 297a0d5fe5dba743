#include "SwayEventTap.h"

#include "Platform/TapEvent.h"
#include "SwayKeySetup.h"

#include <QJsonDocument>
#include <QJsonObject>

std::shared_ptr<SwayEventTap> SwayEventTap::open(const QString& socketPath,
                                                 KeyboardTapPort::Callback callback) {
    auto stream = SwayEventStream::open(socketPath, QByteArrayLiteral("[\"binding\"]"));
    if (!stream) return nullptr;
    return std::shared_ptr<SwayEventTap>(new SwayEventTap(std::move(*stream), std::move(callback)));
}

void SwayEventTap::run() {
    stream_.run(
        [this](const SwayIpc::Message& message) {
            if (message.type == SwayIpc::bindingEvent) deliver(message.payload);
        },
        {});
}

bool SwayEventTap::deliver(const QByteArray& bindingEvent) {
    const QJsonObject event = QJsonDocument::fromJson(bindingEvent).object();
    const QJsonObject binding = event.value(QLatin1String("binding")).toObject();
    if (event.value(QLatin1String("change")).toString() != QLatin1String("run")) return false;
    const auto key = SwayKeySetup::keyOfCommand(binding.value(QLatin1String("command")).toString());
    if (!key || !enabled_) return false;
    // The same three events a tap that sees the keyboard itself would deliver.
    constexpr std::uint64_t rightDown = EventFlag::command | EventFlag::rightCommandKey;
    callback_(EventType::flagsChanged, TapEvent{CommandKey::right, rightDown});
    callback_(EventType::keyDown, TapEvent{*key, rightDown});
    callback_(EventType::flagsChanged, TapEvent{CommandKey::right, 0});
    return true;
}
