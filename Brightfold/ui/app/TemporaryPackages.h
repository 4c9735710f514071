#pragma once

#include <Brightfold/RunFolder.h>
#include <memory>

/// Temporary packages of this run live in a folder of their own, removed at exit; one left by a
/// crash is removed at the next start. Null, with a message, when it cannot be made: they then
/// go to the system's folder.
std::unique_ptr<brightfold::RunFolder> makeRunFolder();
