#pragma once

#include <cstdlib>
#include <memory>

/// An xcb reply, freed with free() as xcb requires.
template <typename T> struct X11ReplyDeleter {
    void operator()(T* reply) const { std::free(reply); }
};
template <typename T> using X11Reply = std::unique_ptr<T, X11ReplyDeleter<T>>;
