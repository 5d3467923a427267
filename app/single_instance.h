#pragma once
// Makes sure only one copy of the program runs: the first holds a named
// mutex for its lifetime; a later copy finds it taken, tells its owner
// through AlreadyExist, brings the earlier window forward and ends.
#include <functional>
#include <string>

#include "base/handles.h"

namespace tarnwell {

class TApplication;

class TXJustOne {
public:
    bool SwitchToPrevious = true;
    bool Terminate = true;
    std::function<void()> AlreadyExist;

    // Returns true for the first instance.
    bool Check(TApplication& application);

private:
    KernelHandle mutex_;
};

}  // namespace tarnwell
