#include "StrokeModel.h"

void StrokeModel::behave(FakeDesktop::Launch launch, FakeDesktop::Activation activation, bool gesturesIgnored,
                         const QString& launchFailure) {
    launch_ = launch;
    activation_ = activation;
    gesturesIgnored_ = gesturesIgnored;
    launchFailure_ = launchFailure;
}

QString StrokeModel::stroke(App& app) {
    switch (app.kind) {
    case App::Kind::missing:
        return QStringLiteral("Couldn't launch %1 (path missing)").arg(app.name);
    case App::Kind::launchable:
        return launch(app);
    case App::Kind::running:
        return present(app);
    }
    return {};
}

QString StrokeModel::launch(App& app) {
    // Running without a window comes to the same: the open finds the running instance.
    if (launch_ != FakeDesktop::Launch::succeed) return QStringLiteral("Launch failed: ") + launchFailure_;
    app.running = true;
    if (activation_ == FakeDesktop::Activation::immediate) frontmost_ = app.bundleId;
    count(app);
    return QStringLiteral("Launched");
}

QString StrokeModel::present(App& app) {
    QStringList fallbacks;
    if (app.space != space_ && (gesturesIgnored_ || app.fullScreen))
        fallbacks.append(QStringLiteral("Space not switched (app activated only)"));
    else
        space_ = app.space;
    // Opening the running application's bundle activates it, when opening works at all.
    if (launch_ == FakeDesktop::Launch::succeed && activation_ == FakeDesktop::Activation::immediate)
        frontmost_ = app.bundleId;
    if (frontmost_ != app.bundleId) {
        // Asked of the main thread, which is busy until the strokes are done.
        posted_.push_back(app.bundleId);
        fallbacks.append(QStringLiteral("App not brought to front"));
    }
    count(app);
    if (fallbacks.isEmpty()) return QStringLiteral("Switched to ") + app.name;
    return QStringLiteral("Activated %1 (fallback: %2)").arg(app.name, fallbacks.join(QStringLiteral(", ")));
}

void StrokeModel::mainThreadRan() {
    if (activation_ == FakeDesktop::Activation::immediate && !posted_.empty()) frontmost_ = posted_.back();
    posted_.clear();
}

void StrokeModel::count(const App& app) {
    ++jumps_;
    ++perApp_[app.bundleId];
}

QStringList withoutRepeats(const QStringList& texts) {
    QStringList seen;
    for (const QString& text : texts)
        if (seen.isEmpty() || seen.back() != text) seen.append(text);
    return seen;
}
