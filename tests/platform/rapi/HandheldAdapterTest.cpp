// Which adapter the stand-in's own PC side takes for the handheld's link,
// and which addresses it uses there.
#include "platform/rapi/HandheldAdapter.h"

#include <gtest/gtest.h>

namespace {
AdapterInfo Adapter(const wchar_t* pszDescription, bool bUp, std::vector<std::string> addresses)
{
    AdapterInfo adapter;
    adapter.strDescription = pszDescription;
    adapter.bUp = bUp;
    adapter.addresses = std::move(addresses);
    return adapter;
}

TEST(HandheldAdapterTest, TheLinksAddressesOrItsUsualOnes)
{
    const AdapterInfo lan = Adapter(L"Ethernet controller", true, { "192.168.1.20" });
    const AdapterInfo linkGiven = Adapter(L"Remote NDIS based Internet Sharing Device", true, { "169.254.2.2" });
    const AdapterInfo linkAutomatic = Adapter(L"Remote NDIS Compatible Device", true, { "169.254.77.9" });
    const AdapterInfo otherAutomatic = Adapter(L"Wireless adapter", true, { "169.254.12.3" });
    const AdapterInfo linkDown = Adapter(L"Remote NDIS Compatible Device", false, { "169.254.2.2" });
    const struct
    {
        std::vector<AdapterInfo> adapters;
        const char* pszPc;   // null: none found
        const char* pszDevice;
    } cases[] = {
        { { lan, linkGiven }, "169.254.2.2", "169.254.2.1" },
        { { lan, linkAutomatic }, "169.254.77.9", "169.254.2.1" },
        { { linkAutomatic, linkGiven }, "169.254.2.2", "169.254.2.1" },
        { { lan, otherAutomatic }, nullptr, nullptr },
        { { linkDown }, nullptr, nullptr },
        { { Adapter(L"Remote NDIS Compatible Device", true, {}) }, nullptr, nullptr },
        { {}, nullptr, nullptr },
    };
    for (const auto& c : cases) {
        HandheldAddresses addresses;
        const bool bFound = ChooseHandheldAddresses(c.adapters, addresses);
        EXPECT_EQ(c.pszPc != nullptr, bFound) << (c.pszPc ? c.pszPc : "none");
        if (bFound && c.pszPc) {
            EXPECT_EQ(c.pszPc, addresses.strPc);
            EXPECT_EQ(c.pszDevice, addresses.strDevice);
        }
    }
}

// The list of the system's adapters holds at least the loopback one.
TEST(HandheldAdapterTest, TheSystemsAdaptersAreListed)
{
    bool bLoopback = false;
    for (const AdapterInfo& adapter : ListAdapters())
        for (const std::string& strAddress : adapter.addresses)
            bLoopback = bLoopback || strAddress == "127.0.0.1";
    EXPECT_TRUE(bLoopback);
}
}   // namespace
