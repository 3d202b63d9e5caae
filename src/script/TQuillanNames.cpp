#include "script/TQuillanPrivate.h"

#include "script/ScriptTextFile.h"
#include "script/TDynaTable.h"

namespace Orbisong {

// ---------------------------------------------------------------- names

Variable *TQuillanPrivate::findLocal(int sym) const
{
    if (!m_frame)
        return nullptr;
    for (const auto &v : m_frame->locals)
        if (v->sym == sym)
            return v.get();
    return nullptr;
}

void TQuillanPrivate::resolve(const Token &t)
{
    t.epoch = m_resolveEpoch;
    t.variable = nullptr;
    t.localIndex = -1;
    // A routine's name is never read as a variable, even where a parameter shares it.
    if (t.sym < 0 || lookupRoutine(t.sym))
        return;
    if (m_frame) {
        const auto &locals = m_frame->locals;
        for (size_t i = 0; i < locals.size(); ++i) {
            if (locals[i]->sym == t.sym) {
                t.localIndex = int(i);
                return;
            }
        }
    }
    t.variable = size_t(t.sym) < m_globalOf.size() ? m_globalOf[size_t(t.sym)] : nullptr;
}

Variable *TQuillanPrivate::lookupVariable(int sym) const
{
    if (sym < 0)
        return nullptr;
    if (Variable *v = findLocal(sym))
        return v;
    return size_t(sym) < m_globalOf.size() ? m_globalOf[size_t(sym)] : nullptr;
}

int TQuillanPrivate::lookupType(int sym) const
{
    return sym >= 0 && size_t(sym) < m_typeOf.size() ? m_typeOf[size_t(sym)] : 0;
}

quint16 TQuillanPrivate::resolvedCode(const Token &t)
{
    if (t.code != TokName)
        return t.code;
    if (lookupRoutine(t.sym))
        return TokRoutine;
    if (variableOf(t))
        return t.localIndex >= 0 ? TokLocalVar : TokGlobalVar;
    if (const int type = lookupType(t.sym))
        return m_types[size_t(type)].isClass ? TokClassType : TokRecordType;
    if (t.baseSym >= 0) {
        if (findLocal(t.baseSym))
            return TokLocalVar;
        if (lookupVariable(t.baseSym))
            return TokGlobalVar;
    }
    return TokUnknown;
}

void TQuillanPrivate::selectMember(VarRef &ref, int memberSym, bool dotted)
{
    const TypeInfo *type = typeInfo(ref.type);
    if (!type || !type->isRecord)
        ReportError(dotted ? 52 : 54);
    const int index = type->memberIndex(memberSym);
    if (index < 0)
        ReportError(53, m_symbols.name(memberSym));
    ref.cell = &ref.cell->members[size_t(index)];
    ref.type = type->members[size_t(index)].type;
    ref.whole = false;
}

void TQuillanPrivate::indexArray(VarRef &ref)
{
    nextToken();
    Variable *v = ref.var;
    if (!v->isArray || !ref.whole)
        ReportError(49);
    const bool inRelation = m_inRelation;
    m_inRelation = false;
    const double at = numOr();
    m_inRelation = inRelation;
    expect(TokCloseBracket, "]");
    ref.cell = elementCell(v, at);
    ref.whole = false;
}

Cell *TQuillanPrivate::elementCell(Variable *v, double at)
{
    const qint64 index = saturate(at, -9e18, 9e18);
    if (v->isOpen) {
        constexpr qint64 DenseReach = 4096;
        const qint64 size = v->openSize();
        if (index >= 0 && index < size)
            return &(*v->openDense)[size_t(index)];
        if (index >= 0 && index < size + DenseReach &&
            v->openElements.upper_bound(size - 1) == v->openElements.end()) {
            if (!v->openDense)
                v->openDense = std::make_unique<std::deque<Cell>>();
            const Cell empty = defaultCell(v->type);
            chargeMemory((index + 1 - size) * qint64(sizeof(Cell)) *
                         qint64(1 + empty.members.size()));
            while (qint64(v->openDense->size()) <= index)
                v->openDense->push_back(empty);
            return &(*v->openDense)[size_t(index)];
        }
        auto found = v->openElements.find(index);
        if (found == v->openElements.end()) {
            chargeMemory(qint64(sizeof(Cell)) * qint64(1 + v->own.members.size()));
            found = v->openElements.emplace(index, defaultCell(v->type)).first;
        }
        return &found->second;
    }
    if (index < v->low || index > v->high)
        ReportError(46);
    return &v->elements[size_t(index - v->low)];
}

TQuillanPrivate::VarRef TQuillanPrivate::resolveDotted(const Token &t)
{
    VarRef ref;
    Variable *v = variableOf(t);
    if (!v && t.baseSym >= 0) {
        v = lookupVariable(t.baseSym);
        if (!v)
            ReportError(26);
        v = v->target();
        ref.var = v;
        ref.cell = &v->cell();
        ref.type = v->type;
        for (int member : t.path)
            selectMember(ref, member, true);
    } else {
        if (!v)
            ReportError(26);
        v = v->target();
        ref.var = v;
        ref.cell = &v->cell();
        ref.type = v->type;
    }
    for (;;) {
        const Token &p = peekToken();
        if (p.code == TokOpenBracket && ref.var->isArray) {
            indexArray(ref);
        } else if (p.code == TokDot && !ref.whole &&
                   m_token + 1 < int(m_lines[size_t(m_line)].tokens.size()) &&
                   m_lines[size_t(m_line)].tokens[size_t(m_token + 1)].code == TokName) {
            nextToken();
            const Token &member = nextToken();
            selectMember(ref, member.sym, false);
        } else {
            break;
        }
    }
    return ref;
}

TQuillanPrivate::VarRef TQuillanPrivate::variableRef()
{
    const Token &t = peekToken();
    if (t.code != TokName)
        ReportError(26);
    const quint16 code = resolvedCode(t);
    if (code != TokLocalVar && code != TokGlobalVar)
        ReportError(26);
    nextToken();
    return resolveDotted(t);
}

} // namespace Orbisong
