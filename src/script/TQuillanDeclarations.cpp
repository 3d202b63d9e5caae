// Declarations: variable blocks, TYPE blocks and the type names they use.

#include "script/TDynaTable.h"
#include "script/TQuillanPrivate.h"

namespace Orbisong {

int TQuillanPrivate::parseType()
{
    const Token &t = nextToken();
    switch (t.code) {
    case TokLongint:
        return TypeLongint;
    case TokIntegerType:
        return TypeInteger;
    case TokByte:
        return TypeByte;
    case TokRealType:
        return TypeReal;
    case TokWord:
        return TypeWord;
    case TokStringType:
        return TypeString;
    case TokPChar:
        return TypePChar;
    case TokBoolean:
        return TypeBoolean;
    case TokChar:
        return TypeChar;
    case TokPointer:
        return TypePointer;
    case TokText:
        return TypeText;
    case TokBool:
        return TypeBool;
    case TokName:
        if (const int type = lookupType(t.sym))
            return type;
        ReportError(21);
    default:
        ReportError(21);
    }
}

void TQuillanPrivate::declarations(quint16 keyword)
{
    const bool global = keyword == TokGlobal || !m_frame;
    for (;;) {
        const Token &t = nextToken();
        if (t.code == TokSemicolon)
            continue;
        if (t.code == TokEndVar)
            return;
        if (t.code != TokName || t.baseSym >= 0 || lookupRoutine(t.sym) || lookupType(t.sym))
            ReportError(16);
        const int sym = t.sym;
        const bool exists = global ? (size_t(sym) < m_globalOf.size() && m_globalOf[size_t(sym)])
                                   : findLocal(sym) != nullptr;
        if (exists)
            ReportError(15, t.text);
        expect(TokColon, ":");
        std::unique_ptr<Variable> v;
        if (accept(TokArray)) {
            if (accept(TokOpenBracket)) {
                const int low = toInt32(numOr());
                expect(TokRange, "..");
                const int high = toInt32(numOr());
                expect(TokCloseBracket, "]");
                expect(TokOf, "OF");
                v = makeVariable(sym, parseType(), true, false, low, high);
            } else {
                expect(TokOf, "OF");
                v = makeVariable(sym, parseType(), true, true, 0, -1);
            }
        } else if (accept(TokTable)) {
            expect(TokOf, "OF");
            const int type = parseType();
            const TypeInfo *info = typeInfo(type);
            if (!info || !info->isRecord)
                ReportError(54);
            v = makeVariable(sym, type, false, false, 0, -1);
            v->own.table = std::make_shared<TDynaTable>(*info, &m_types);
        } else {
            const int type = parseType();
            v = makeVariable(sym, type, false, false, 0, -1);
            if (accept(TokEqual)) {
                if (isNumericType(type)) {
                    if (!peekIsString() && staticTypeAt(0) != TypeBoolean)
                        v->own.num = storedNumber(type, numOr());
                    else
                        ReportError(13);
                } else if (type == TypePointer) {
                    if (peekToken().code != TokNil && staticTypeAt(0) != TypePointer)
                        ReportError(17);
                    v->own.num = pointerExpr().num;
                } else {
                    v->own = valueOfType(type);
                }
            }
        }
        namesChanged();
        if (global) {
            m_globalOf[size_t(sym)] = v.get();
            m_globalStore.push_back(std::move(v));
        } else {
            m_frame->plain = false;
            m_frame->locals.push_back(std::move(v));
        }
    }
}

void TQuillanPrivate::typeBlock()
{
    for (;;) {
        const Token &t = nextToken();
        if (t.code == TokSemicolon)
            continue;
        if (t.code == TokEndType)
            return;
        if (t.code == TokName && lookupType(t.sym))
            ReportError(15, t.text);
        if (t.code != TokName || t.baseSym >= 0)
            ReportError(50);
        TypeInfo info;
        info.id = int(m_types.size());
        info.name = m_symbols.name(t.sym);
        const int typeSym = t.sym;
        expect(TokEqual, "=");
        const quint16 kind = nextToken().code;
        if (kind != TokRecord && kind != TokClass)
            ReportError(22, QStringLiteral("RECORD"));
        info.isRecord = true;
        info.isClass = kind == TokClass;
        for (;;) {
            const Token *m = &nextToken();
            if (m->code == TokSemicolon)
                continue;
            if (m->code == TokEndRecord)
                break;
            TypeMember member;
            if (m->code == TokKey) {
                member.key = true;
                m = &nextToken();
            }
            if (m->code != TokName || m->baseSym >= 0)
                ReportError(51);
            member.sym = m->sym;
            member.name = m_symbols.name(m->sym);
            if (info.memberIndex(member.sym) >= 0)
                ReportError(15, member.name);
            expect(TokColon, ":");
            member.type = parseType();
            member.offset = info.size;
            const TypeInfo *memberType = typeInfo(member.type);
            info.size += memberType ? memberType->size : 4;
            info.members.push_back(member);
        }
        if (info.size > TDynaTable::MaxRecordSize)
            ReportError(56);
        m_types.push_back(info);
        m_typeOf[size_t(typeSym)] = info.id;
    }
}

} // namespace Orbisong
