#pragma once
// The fluids the property library knows: built in from the transcribed data files, and
// optionally extended or replaced by ".fluid" files from a data folder.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "fluid.hpp"

namespace kelvra::fluids {

class Registry {
public:
    // The process-wide registry, holding the built-in fluids.
    static Registry& instance();

    // Case-insensitive look-up by name or alias; builds the fluid on first use.
    // Returns null for an unknown name or a fluid whose data could not be built.
    const Fluid* find(std::string_view name);

    // Names of every known fluid, in alphabetical order.
    std::vector<std::string> names() const;

    // Adds (or replaces) a fluid from the text of a ".fluid" file; false with a reason if invalid.
    bool add(std::string_view text, std::string& error);

    // Reads every ".fluid" file of `folder`; false with the first reason when a file is unreadable
    // or invalid (the valid ones are still added). A folder without such files is not an error.
    bool load_folder(const std::string& folder, std::string& error);

private:
    Registry();
    struct Entry {
        FluidData data;
        std::unique_ptr<Fluid> fluid;
        bool failed = false;
        std::string error;
    };
    Entry* lookup(std::string_view name);

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<Entry>> entries_;
    std::vector<std::unique_ptr<Entry>> replaced_;  // kept alive: callers may still hold their fluids
};

}  // namespace kelvra::fluids
