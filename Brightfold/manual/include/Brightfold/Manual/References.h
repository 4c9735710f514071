#pragma once

#include <Brightfold/Manual/CommandReference.h>

namespace brightfold::manual {

/// How each program is run: the source of its --help text and of its manual page.
const CommandReference& appReference();
const CommandReference& convertReference();
const CommandReference& thumbnailerReference();

} // namespace brightfold::manual
