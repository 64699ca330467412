#include "com/variant_values.h"

#include "com/com_support.h"

namespace zk::com {

namespace {

// A VARIANT cleared on scope exit.
struct LocalVariant {
    VARIANT value;
    LocalVariant() { VariantInit(&value); }
    ~LocalVariant() { VariantClear(&value); }
};

} // namespace

Value ValueFromVariant(const VARIANT& variant) {
    LocalVariant direct; // scripts pass variables by reference
    Check(VariantCopyInd(&direct.value, const_cast<VARIANT*>(&variant)),
          "reading a property value");
    const VARIANT& v = direct.value;
    switch (V_VT(&v)) {
    case VT_EMPTY:
        return Value{};
    case VT_NULL:
        return Value::Integer(ValueType::Null, 0);
    case VT_BOOL:
        return Value::Boolean(V_BOOL(&v) != VARIANT_FALSE);
    case VT_I1:
        return Value::Integer(ValueType::I1, V_I1(&v));
    case VT_I2:
        return Value::Integer(ValueType::I2, V_I2(&v));
    case VT_I4:
        return Value::Integer(ValueType::I4, V_I4(&v));
    case VT_I8:
        return Value::Integer(ValueType::I8, V_I8(&v));
    case VT_INT:
        return Value::Integer(ValueType::Int, V_INT(&v));
    case VT_CY:
        return Value::Integer(ValueType::Currency, V_CY(&v).int64);
    case VT_UI1:
        return Value::Unsigned(ValueType::UI1, V_UI1(&v));
    case VT_UI2:
        return Value::Unsigned(ValueType::UI2, V_UI2(&v));
    case VT_UI4:
        return Value::Unsigned(ValueType::UI4, V_UI4(&v));
    case VT_UI8:
        return Value::Unsigned(ValueType::UI8, V_UI8(&v));
    case VT_UINT:
        return Value::Unsigned(ValueType::UInt, V_UINT(&v));
    case VT_R4:
        return Value::Real(ValueType::R4, V_R4(&v));
    case VT_R8:
        return Value::Real(ValueType::R8, V_R8(&v));
    case VT_DATE:
        return Value::Real(ValueType::Date, V_DATE(&v));
    case VT_BSTR:
        return Value::Text(Utf8(V_BSTR(&v)));
    default:
        ThrowHr(DISP_E_TYPEMISMATCH,
                "a property value of automation type " + std::to_string(V_VT(&v)) +
                    " cannot be kept (only numbers, texts, booleans, dates, currency, Empty "
                    "and Null)");
    }
}

void VariantFromValue(const Value& value, VARIANT* variant) {
    VariantInit(variant);
    switch (value.type) {
    case ValueType::Empty:
        return;
    case ValueType::String:
        V_BSTR(variant) = NewBstr(value.text);
        break;
    case ValueType::Bool:
        V_BOOL(variant) = value.integer ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case ValueType::I1:
        V_I1(variant) = static_cast<CHAR>(value.integer);
        break;
    case ValueType::I2:
        V_I2(variant) = static_cast<SHORT>(value.integer);
        break;
    case ValueType::I4:
        V_I4(variant) = static_cast<LONG>(value.integer);
        break;
    case ValueType::I8:
        V_I8(variant) = value.integer;
        break;
    case ValueType::Int:
        V_INT(variant) = static_cast<INT>(value.integer);
        break;
    case ValueType::Currency:
        V_CY(variant).int64 = value.integer;
        break;
    case ValueType::UI1:
        V_UI1(variant) = static_cast<BYTE>(value.unsigned_integer);
        break;
    case ValueType::UI2:
        V_UI2(variant) = static_cast<USHORT>(value.unsigned_integer);
        break;
    case ValueType::UI4:
        V_UI4(variant) = static_cast<ULONG>(value.unsigned_integer);
        break;
    case ValueType::UI8:
        V_UI8(variant) = value.unsigned_integer;
        break;
    case ValueType::UInt:
        V_UINT(variant) = static_cast<UINT>(value.unsigned_integer);
        break;
    case ValueType::R4:
        V_R4(variant) = static_cast<FLOAT>(value.real);
        break;
    case ValueType::R8:
        V_R8(variant) = value.real;
        break;
    case ValueType::Date:
        V_DATE(variant) = value.real;
        break;
    case ValueType::Null:
        break;
    }
    V_VT(variant) = static_cast<VARTYPE>(value.type);
}

} // namespace zk::com
