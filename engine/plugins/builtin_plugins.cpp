// The plug-ins built into the player, registered at engine creation.
#include "engine/plugins/ape/ape_plugin.h"
#include "engine/plugins/flac/flac_plugin.h"
#include "engine/plugins/plugin_registry.h"
#include "engine/plugins/wma/wma_plugin.h"

namespace qv {

void RegisterBuiltInPlugins(PluginRegistry& registry) {
  for (PluginGetter getter : {&GetWmaPlugin, &GetFlacPlugin, &GetApePlugin}) registry.Register(getter);
}

}  // namespace qv
