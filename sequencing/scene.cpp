#include "sequencing/sequencing.h"

SlotTable<Scene, kSceneTableSlots> sceneTable;

Scene::Scene(std::string_view name_, Callback init_, Callback render_, Callback done_)
    : name(name_.substr(0, kMaxLogText)), init(init_), render(render_), done(done_) {}
