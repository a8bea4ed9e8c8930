// Table-driven dispatch: names, gets, puts, method calls, argument conversion, the error codes
// and reference counting.

#include "platform/ole/dispatchimpl.h"

#include <gtest/gtest.h>

namespace {

// An object with one property of each kind and two methods; records its deletion.
class CSample : public CDispatchImpl
{
public:
    explicit CSample(bool* deleted = nullptr) : m_deleted(deleted)
    {
        addProperty(
            1, "Value", VT_I4, [this] { return COleVariant(m_value); },
            [this](const COleVariant& v) {
                m_value = v.lVal;
                ++m_puts;
                return S_OK;
            });
        addProperty(
            2, "Caption", VT_BSTR, [this] { return COleVariant(m_caption); },
            [this](const COleVariant& v) {
                m_caption = v.bstrVal;
                return S_OK;
            });
        addProperty(
            3, "Color", VT_UI4,
            [this] {
                COleVariant v;
                v.vt = VT_UI4;
                v.ulVal = m_color;
                return v;
            },
            [this](const COleVariant& v) {
                m_color = v.ulVal;
                return S_OK;
            });
        addProperty(
            4, "ReadOnly", VT_I4, [] { return COleVariant(9L); }, nullptr);
        addProperty(
            6, "Flag", VT_BOOL, [this] { return COleVariant::makeBool(m_flag); },
            [this](const COleVariant& v) {
                m_flag = v.boolVal != VARIANT_FALSE;
                return S_OK;
            });
        addMethod(5, "Scale", VT_R8, {VT_I4, VT_R8},
            [this](const DISPPARAMS& params, COleVariant* result) {
                m_lastArgs = params.args;
                *result = COleVariant(params.args[0].lVal * params.args[1].dblVal);
                return S_OK;
            });
        addMethod(7, "Refuse", VT_EMPTY, {},
            [](const DISPPARAMS&, COleVariant*) { return E_INVALIDARG; });
    }

    long m_value {7};
    std::string m_caption {"Hello"};
    ULONG m_color {0};
    bool m_flag {false};
    int m_puts {0};
    std::vector<COleVariant> m_lastArgs;

protected:
    void deleteObject() override
    {
        if (m_deleted)
            *m_deleted = true;
        delete this;
    }

private:
    bool* m_deleted {nullptr};
};

} // namespace

TEST(DispatchNames, LookupIgnoresCase)
{
    CSample sample;
    DISPID id = 0;
    EXPECT_EQ(sample.GetIDsOfNames("caption", &id), S_OK);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(sample.GetIDsOfNames("SCALE", &id), S_OK);
    EXPECT_EQ(id, 5);
    EXPECT_EQ(sample.GetIDsOfNames("Captio", &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    EXPECT_EQ(sample.GetIDsOfNames(nullptr, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(sample.GetIDsOfNames("Value", nullptr), E_POINTER);
}

TEST(DispatchProperties, GetAndPutWithConversion)
{
    CSample sample;
    COleVariant value;
    ASSERT_EQ(zorGetProperty(&sample, 1, &value), S_OK);
    EXPECT_EQ(value, COleVariant(7L));

    // A text that reads as a number, a double rounded half to even, a bool.
    EXPECT_EQ(zorPutProperty(&sample, 1, COleVariant(" 12 ")), S_OK);
    EXPECT_EQ(sample.m_value, 12);
    EXPECT_EQ(zorPutProperty(&sample, 1, COleVariant(2.5)), S_OK);
    EXPECT_EQ(sample.m_value, 2);
    EXPECT_EQ(zorPutProperty(&sample, 2, COleVariant(42L)), S_OK);
    EXPECT_EQ(sample.m_caption, "42");
    EXPECT_EQ(zorPutProperty(&sample, 6, COleVariant("True")), S_OK);
    EXPECT_TRUE(sample.m_flag);
}

TEST(DispatchProperties, PropertyGetAlsoAnswersAMethodFlaggedCall)
{
    CSample sample;
    COleVariant value;
    EXPECT_EQ(zorInvoke(&sample, 2, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, &value), S_OK);
    EXPECT_EQ(value, COleVariant("Hello"));
    value.Clear();
    EXPECT_EQ(zorInvoke(&sample, 2, DISPATCH_METHOD, {}, &value), S_OK);
    EXPECT_EQ(value, COleVariant("Hello"));
}

TEST(DispatchProperties, ColourKeepsAllThirtyTwoBits)
{
    CSample sample;
    // A system-colour reference held in a signed long, and one beyond the long range in a
    // double.
    EXPECT_EQ(zorPutProperty(&sample, 3, COleVariant(static_cast<long>(0x8000000F))), S_OK);
    EXPECT_EQ(sample.m_color, 0x8000000Fu);
    EXPECT_EQ(zorPutProperty(&sample, 3, COleVariant(4294967295.0)), S_OK);
    EXPECT_EQ(sample.m_color, 0xFFFFFFFFu);
    EXPECT_EQ(zorPutProperty(&sample, 3, COleVariant(0x0F000000L)), S_OK);
    EXPECT_EQ(sample.m_color, 0x0F000000u);
    EXPECT_EQ(zorPutProperty(&sample, 3, COleVariant(-5.0e9)), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(zorPutProperty(&sample, 3, COleVariant(4294967296.0)), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(zorPutProperty(&sample, 3, COleVariant("blue")), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(sample.m_color, 0x0F000000u);
}

TEST(DispatchErrors, UnknownMemberAndReadOnlyProperty)
{
    CSample sample;
    COleVariant value;
    EXPECT_EQ(zorGetProperty(&sample, 99, &value), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(zorPutProperty(&sample, 99, COleVariant(1L)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(zorInvoke(&sample, 99, DISPATCH_METHOD), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(zorPutProperty(&sample, 4, COleVariant(1L)), DISP_E_MEMBERNOTFOUND);
    // A method cannot be read as a property.
    EXPECT_EQ(zorInvoke(&sample, 5, DISPATCH_PROPERTYGET, {}, &value), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(zorInvoke(&sample, 1, 0, {}, &value), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(zorInvoke(nullptr, 1, DISPATCH_PROPERTYGET, {}, &value), E_POINTER);
}

TEST(DispatchErrors, ArgumentThatDoesNotConvertLeavesTheValue)
{
    CSample sample;
    EXPECT_EQ(zorPutProperty(&sample, 1, COleVariant("seven")), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(zorPutProperty(&sample, 1, COleVariant(3.0e10)), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(zorPutProperty(&sample, 1, COleVariant::makeNull()), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(sample.m_value, 7);
    EXPECT_EQ(sample.m_puts, 0);
    COleVariant result(1L);
    EXPECT_EQ(zorInvoke(&sample, 5, DISPATCH_METHOD, {COleVariant(2L), COleVariant("x")}, &result),
        DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(sample.m_lastArgs.empty());
}

TEST(DispatchErrors, WrongArgumentCount)
{
    CSample sample;
    COleVariant result;
    EXPECT_EQ(
        zorInvoke(&sample, 5, DISPATCH_METHOD, {COleVariant(2L)}, &result), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(zorInvoke(&sample, 5, DISPATCH_METHOD,
                  {COleVariant(2L), COleVariant(2L), COleVariant(2L)}, &result),
        DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(zorInvoke(&sample, 1, DISPATCH_PROPERTYGET, {COleVariant(1L)}, &result),
        DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(zorInvoke(&sample, 1, DISPATCH_PROPERTYPUT, {}, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(zorInvoke(&sample, 1, DISPATCH_PROPERTYPUT, {COleVariant(1L), COleVariant(2L)}),
        DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(sample.m_value, 7);
}

TEST(DispatchMethods, ArgumentsConvertedInNaturalOrder)
{
    CSample sample;
    COleVariant result;
    ASSERT_EQ(
        zorInvoke(&sample, 5, DISPATCH_METHOD, {COleVariant("3"), COleVariant(1.5f)}, &result),
        S_OK);
    EXPECT_EQ(result, COleVariant(4.5));
    ASSERT_EQ(sample.m_lastArgs.size(), 2u);
    EXPECT_EQ(sample.m_lastArgs[0], COleVariant(3L));
    EXPECT_EQ(sample.m_lastArgs[1], COleVariant(1.5));
    // The method's own failure comes back unchanged, without a result.
    result = COleVariant(1L);
    EXPECT_EQ(zorInvoke(&sample, 7, DISPATCH_METHOD, {}, &result), E_INVALIDARG);
    EXPECT_EQ(result.vt, VT_EMPTY);
}

TEST(DispatchReferences, LastReleaseDeletesAndInterfacesAnswer)
{
    bool deleted = false;
    auto* sample = new CSample(&deleted);
    void* p = nullptr;
    EXPECT_EQ(sample->QueryInterface(IID_IDispatch, &p), S_OK);
    EXPECT_EQ(p, static_cast<IDispatch*>(sample));
    EXPECT_EQ(sample->QueryInterface(IID_IUnknown, &p), S_OK);
    EXPECT_EQ(sample->QueryInterface(IID_IClassFactory, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    sample->addInterface(IID_IClassFactory); // any further interface id the object answers
    EXPECT_EQ(sample->QueryInterface(IID_IClassFactory, &p), S_OK);
    EXPECT_EQ(sample->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(sample->Release(), 3u);
    EXPECT_EQ(sample->Release(), 2u);
    EXPECT_EQ(sample->Release(), 1u);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(sample->Release(), 0u);
    EXPECT_TRUE(deleted);
}
