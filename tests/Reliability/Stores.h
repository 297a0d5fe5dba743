#pragma once

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

/// One of the two stores that save a file after every change, driven the same way so the same
/// failure cases run against both. Change n depends on n alone, so a file can be checked to
/// hold exactly one complete state that was written: for the bindings, key (n - 1) mod 47 gets
/// "App n" with a long path, so the file spans several pages; for the statistics, jump n goes
/// to application (n - 1) mod 20.
class StoreUnderTest {
public:
    virtual ~StoreUnderTest() = default;
    /// The next change; it saves.
    virtual void change() = 0;
    /// The in-memory state, in the form of the file.
    virtual QByteArray memory() const = 0;
};

struct StoreKind {
    const char* name;
    const char* fileName;
    /// The log line of a failed save, without the reason that follows it.
    QString writeFailed;
    /// The file's bytes after changes 1..n.
    QByteArray (*fileAt)(std::int64_t step);
    /// A store on `path`, loaded as the application loads it; it goes on from the file's state.
    std::unique_ptr<StoreUnderTest> (*open)(const QString& path);
    /// The n whose state these bytes are, byte for byte; nothing for anything else (partial,
    /// empty, or a state no step writes).
    std::optional<std::int64_t> stepOf(const QByteArray& bytes) const;
};

extern const StoreKind bindingsStore;
extern const StoreKind statsStore;

/// Every case of a parameterised test against both stores, named "Bindings<case>" and
/// "Stats<case>": INSTANTIATE_TEST_SUITE_P(Stores, Suite, againstBothStores(cases), StoreCaseName()).
template <typename Cases> auto againstBothStores(const Cases& cases) {
    return ::testing::Combine(::testing::Values(&bindingsStore, &statsStore), ::testing::ValuesIn(cases));
}

struct StoreCaseName {
    template <typename Info> std::string operator()(const Info& info) const {
        return std::string(std::get<0>(info.param)->name) + std::get<1>(info.param).name;
    }
};

inline void PrintTo(const StoreKind* kind, std::ostream* out) {
    *out << kind->name;
}
