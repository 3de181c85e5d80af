#include "engine/EngineEvents.h"

namespace engine {

std::string_view EventName(EngineEvent e) {
    switch (e) {
#define CLSFA_DUPLICA_EVENT_NAME(T, A)                       \
    case EngineEvent::BeforeUpdate##T: return "BeforeUpdate" #T; \
    case EngineEvent::AfterUpdate##T: return "AfterUpdate" #T;
        CLSFA_DUPLICA_EVENT_TABLES(CLSFA_DUPLICA_EVENT_NAME)
#undef CLSFA_DUPLICA_EVENT_NAME
    }
    return {};
}

void CLSFA_DUPLICA_Events::Raise(EngineEvent e, db::RecordsetPtr& target) {
    switch (e) {
#define CLSFA_DUPLICA_EVENT_DISPATCH(T, A)                                         \
    case EngineEvent::BeforeUpdate##T: BeforeUpdate##T(target); return; \
    case EngineEvent::AfterUpdate##T: AfterUpdate##T(target); return;
        CLSFA_DUPLICA_EVENT_TABLES(CLSFA_DUPLICA_EVENT_DISPATCH)
#undef CLSFA_DUPLICA_EVENT_DISPATCH
    }
}

}  // namespace engine
