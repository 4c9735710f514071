#pragma once

#include <USD/layer/Layer.h>
#include <string>

namespace usd {

// The layer in USD's text syntax: layer metadata, then every prim with its
// metadata, properties, variant sets and children, in the order the children
// fields list them. Specs a children field does not list (which USD would not
// see) and listed names without a spec are shown as comments, so a dump never
// hides what a layer really holds. Same layer, same text.
std::string toUsda(const Layer& layer);

} // namespace usd
