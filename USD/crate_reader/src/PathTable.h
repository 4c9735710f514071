#pragma once

#include <USD/codec/ByteReader.h>
#include <USD/codec/CrateFormat.h>
#include <USD/layer/Path.h>
#include <string>
#include <vector>

namespace usd::crate {

// Reads the PATHS section: a tree of path elements, compressed (0.4.0 on) or as a stream of
// node headers (earlier). Table slots no node fills stay empty paths. Nodes for relationship
// targets, which only very old files hold, are left empty together with their subtrees.
std::vector<Path> readPathTable(ByteReader reader, const Version& version,
                                const std::vector<std::string>& tokens);

} // namespace usd::crate
