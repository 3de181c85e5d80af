#pragma once
// The engine's outgoing events: one Before/After pair per table, each carrying the engine's target
// recordset by reference. The list is written once here; everything else is generated from it.
#include <memory>
#include <string_view>

#include "db/Recordset.h"

namespace engine {

// X(table suffix, argument name), in the interface's order.
#define CLSFA_DUPLICA_EVENT_TABLES(X) \
    X(MG66, rstMG66)                  \
    X(MG87DescrStandard, rstMG87)     \
    X(MG87DescrInLingua, rstMG87)     \
    X(MG68, rstMG68)                  \
    X(MG67, rstMG67)                  \
    X(MG84, rstMG84)                  \
    X(MG85, rstMG85)                  \
    X(MG86, rstMG86)                  \
    X(MG92, rstMG92)                  \
    X(MG7A, rstMG7A)                  \
    X(MG69, rstMG69)                  \
    X(MG65, rstMG65)                  \
    X(MG73CLIENTI, rstMG73CLIENTI)    \
    X(MG73FORNITORI, rstMG73FORNITORI) \
    X(MG6C, rstMG6C)                  \
    X(LI10VENDITA, rstLI10VENDITA)    \
    X(LI10ACQUISTO, rstLI10ACQUISTO)  \
    X(LI11, rstLI11)                  \
    X(MG72, rstMG72)                  \
    X(MG43, rstMG43)                  \
    X(MG6D, rstMG6D)                  \
    X(MG6B, rstMG6B)                  \
    X(PD18, rstPD18)                  \
    X(PD27, rstPD27)                  \
    X(PD52, rstPD52)                  \
    X(MG98, rstMG98)                  \
    X(MG6M, rstMG6M)                  \
    X(MG6G, rstMG6G)                  \
    X(MG4N, rstMG4N)                  \
    X(MG4P, rstMG4P)                  \
    X(SC06, rstSC06)                  \
    X(FA12, rstFA12)                  \
    X(FA13, rstFA13)                  \
    X(FA10, rstFA10)

enum class EngineEvent {
#define CLSFA_DUPLICA_EVENT_ENUM(T, A) BeforeUpdate##T, AfterUpdate##T,
    CLSFA_DUPLICA_EVENT_TABLES(CLSFA_DUPLICA_EVENT_ENUM)
#undef CLSFA_DUPLICA_EVENT_ENUM
};

// "BeforeUpdateMG69", ...
std::string_view EventName(EngineEvent e);
constexpr int EventCount() {
    int n = 0;
#define CLSFA_DUPLICA_EVENT_COUNT(T, A) n += 2;
    CLSFA_DUPLICA_EVENT_TABLES(CLSFA_DUPLICA_EVENT_COUNT)
#undef CLSFA_DUPLICA_EVENT_COUNT
    return n;
}

// A caller that holds the engine with events derives from this and overrides the events it wants
// (every one does nothing by default), or overrides Raise to see them all.
class CLSFA_DUPLICA_Events {
public:
    virtual ~CLSFA_DUPLICA_Events() = default;
    virtual void Raise(EngineEvent e, db::RecordsetPtr& target);
    // Whether this subscriber wants the event. A table whose two events nobody wants is copied in one
    // statement, without rows in the target recordset; one whose After event alone is wanted gets its
    // written rows read back for it. By default every event is wanted.
    virtual bool Handles(EngineEvent) const { return true; }

#define CLSFA_DUPLICA_EVENT_METHODS(T, A)               \
    virtual void BeforeUpdate##T(db::RecordsetPtr& A) {} \
    virtual void AfterUpdate##T(db::RecordsetPtr& A) {}
    CLSFA_DUPLICA_EVENT_TABLES(CLSFA_DUPLICA_EVENT_METHODS)
#undef CLSFA_DUPLICA_EVENT_METHODS
};

}  // namespace engine
