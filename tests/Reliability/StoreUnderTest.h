#pragma once

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

/// One of the two stores that save a file after every change, driven the same way, so the
/// same failure cases run against both. Changes follow SuccessiveStates.
class StoreUnderTest {
public:
    virtual ~StoreUnderTest() = default;
    /// One change of the kind the user makes (a binding, a jump); it saves.
    virtual void change() = 0;
    /// The store's in-memory state, in the form of its file.
    virtual QByteArray memory() const = 0;
};

/// What differs between the two stores.
struct StoreKind {
    const char* name;
    const char* fileName;
    /// The log line of a failed save, without the reason that follows it.
    QString writeFailed;
    /// The file's bytes at a step of SuccessiveStates.
    QByteArray (*fileAt)(std::int64_t step);
    /// A store on `path`, loaded as the application loads it; its next change is the step
    /// after the one the file holds.
    std::unique_ptr<StoreUnderTest> (*open)(const QString& path);
};

inline void PrintTo(const StoreKind* kind, std::ostream* out) {
    *out << kind->name;
}

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
