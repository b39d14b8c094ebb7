#include "platform/link/HandheldInterface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// A device tree of its own for each test, removed after it.
class CMadeUpSysfs
{
public:
    CMadeUpSysfs()
    {
        char szTemplate[] = "/tmp/tarnix-sysfs-XXXXXX";
        m_root = mkdtemp(szTemplate);
        fs::create_directories(m_root / "class" / "net");
    }
    ~CMadeUpSysfs() { fs::remove_all(m_root); }
    CMadeUpSysfs(const CMadeUpSysfs&) = delete;
    CMadeUpSysfs& operator=(const CMadeUpSysfs&) = delete;

    // An interface whose device is bound to strDriver (none when empty).
    void AddInterface(const std::string& strName, const std::string& strDriver)
    {
        const fs::path device = m_root / "devices" / strName;
        fs::create_directories(device);
        fs::create_directories(m_root / "bus" / "usb" / "drivers" / strDriver);
        if (!strDriver.empty())
            fs::create_directory_symlink(m_root / "bus" / "usb" / "drivers" / strDriver, device / "driver");
        fs::create_directories(m_root / "class" / "net" / strName);
        fs::create_directory_symlink(device, m_root / "class" / "net" / strName / "device");
    }
    std::string Root() const { return m_root.string(); }

private:
    fs::path m_root;
};
}   // namespace

TEST(HandheldInterface, FoundByTheDriverOfItsDevice)
{
    struct Case
    {
        const char* pszWhat;
        std::vector<std::pair<std::string, std::string>> interfaces;   // name, driver
        std::vector<std::string> expected;
    } cases[] = {
        { "rndis beside a wired card", { { "eth0", "e1000e" }, { "usb0", "rndis_host" } }, { "usb0" } },
        { "cdc_ether", { { "enx0011", "cdc_ether" }, { "lo", "" } }, { "enx0011" } },
        { "none", { { "eth0", "e1000e" }, { "wlan0", "iwlwifi" } }, {} },
        { "two, in order", { { "usb1", "rndis_host" }, { "usb0", "cdc_ether" } }, { "usb0", "usb1" } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.pszWhat);
        CMadeUpSysfs sysfs;
        for (const auto& [strName, strDriver] : test.interfaces)
            sysfs.AddInterface(strName, strDriver);
        EXPECT_EQ(test.expected, FindHandheldInterfaces(sysfs.Root()));
    }
    EXPECT_TRUE(FindHandheldInterfaces("/nonexistent-tarnix-root").empty());
}

// The PC stands at the interface's address and the handheld at .1 of its
// network; an interface without an address, or no interface, is one line.
TEST(HandheldInterface, AddressesOfTheLink)
{
    struct Case
    {
        const char* pszWhat;
        std::vector<std::string> interfaces;
        std::map<std::string, std::string> addresses;
        std::string strPc, strDevice, strProblemPart;
    } cases[] = {
        { "fallback address", { "usb0" }, { { "usb0", "169.254.2.2" } }, "169.254.2.2", "169.254.2.1", "" },
        { "from the handheld's DHCP",
          { "usb0" },
          { { "eth0", "10.0.0.5" }, { "usb0", "169.254.7.101" } },
          "169.254.7.101",
          "169.254.7.1",
          "" },
        { "a network adapter of the same driver beside the handheld",
          { "enx0", "usb0" },
          { { "enx0", "192.168.1.23" }, { "usb0", "169.254.2.2" } },
          "169.254.2.2",
          "169.254.2.1",
          "" },
        { "only a network adapter",
          { "enx0" },
          { { "enx0", "192.168.1.23" } },
          "",
          "",
          "interface enx0 has the address 192.168.1.23, not a handheld's (169.254.x.x): if it is one, give "
          "--pc-address and --device-address" },
        { "second has the address",
          { "usb0", "usb1" },
          { { "usb1", "169.254.2.2" } },
          "169.254.2.2",
          "169.254.2.1",
          "" },
        { "without address",
          { "usb0" },
          { { "eth0", "10.0.0.5" } },
          "",
          "",
          "interface usb0 has no address: let the network manager connect it, or run: sudo ip addr add 169.254.2.2/24 "
          "dev usb0" },
        { "no interface", {}, { { "eth0", "10.0.0.5" } }, "", "", "no handheld link found" },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.pszWhat);
        const LinkAddresses link = ChooseLinkAddresses(test.interfaces, test.addresses);
        EXPECT_EQ(test.strPc, link.strPcAddress);
        EXPECT_EQ(test.strDevice, link.strDeviceAddress);
        EXPECT_NE(std::string::npos, link.strProblem.find(test.strProblemPart));
        EXPECT_EQ(test.strProblemPart.empty(), link.strProblem.empty());
        EXPECT_EQ(std::string::npos, link.strProblem.find('\n')) << "one line";
    }
}
