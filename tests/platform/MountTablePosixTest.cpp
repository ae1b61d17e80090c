// The mount table behind the network form of a path (POSIX only).
#include "platform/posix/MountTable.h"

#include <gtest/gtest.h>

#include <string>

namespace vantorel {
namespace {

// Lines as the kernel writes them, including escapes and optional fields.
const char* const kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "30 22 0:40 / /mnt/share rw,relatime shared:7 - cifs //filer/docs rw,vers=3.1.1\n"
    "31 22 0:41 / /mnt/smb3 rw - smb3 //Filer2/Team/ rw\n"
    "32 22 0:42 / /net/home rw,relatime shared:9 master:2 - nfs4 nas:/export/home rw\n"
    "33 22 0:43 / /net/root rw - nfs nas:/ rw\n"
    "34 22 0:40 /projects/2024 /srv/bound rw - cifs //filer/docs rw\n"
    "35 22 0:44 / /mnt/with\\040blank rw - cifs //filer/blank\\040share rw\n"
    "36 30 0:45 / /mnt/share/local rw - tmpfs tmpfs rw\n"
    "37 22 0:46 / /mnt/odd rw - cifs filer/noslashes rw\n"
    "38 22 0:47 / /mnt/nohost rw - nfs :/export rw\n"
    "garbage line without enough fields\n"
    "39 22 0:48 / /mnt/nodash rw shared:1 cifs //filer/x rw\n";

TEST(MountTable, NetworkNameOfAPath) {
    const MountTable table = MountTable::parse(kMountInfo);
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"/home/user/Data", ""},         // local disk
        {"/mnt/share", "//filer/docs"},  // the mount point itself
        {"/mnt/share/Docs/2024", "//filer/docs/Docs/2024"},
        {"/mnt/shareholder", ""},                    // a prefix, not a parent folder
        {"/mnt/smb3/x", "//Filer2/Team/x"},          // trailing separator of the source dropped
        {"/net/home/ann", "//nas/export/home/ann"},  // nfs "server:/export"
        {"/net/root/a", "//nas/a"},                  // export of the server's root
        {"/srv/bound/q1", "//filer/docs/projects/2024/q1"},  // bind mount of a folder in the share
        {"/mnt/with blank/in", "//filer/blank share/in"},    // \040 escapes
        {"/mnt/share/local/f", ""},                          // a local mount inside a share
        {"/mnt/odd/f", ""},                                  // source names no server
        {"/mnt/nohost/f", ""},
        {"/mnt/nodash/f", ""},  // malformed line skipped
        {"relative/path", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(table.networkName(c.path), c.expected) << c.path;
}

TEST(MountTable, LaterMountOnTheSamePointWins) {
    const MountTable table = MountTable::parse(
        "1 0 0:1 / /data rw - cifs //old/share rw\n"
        "2 1 0:2 / /data rw - ext4 /dev/sdb1 rw\n"
        "3 0 0:3 / /back rw - ext4 /dev/sdc1 rw\n"
        "4 3 0:4 / /back rw - nfs srv:/b rw");
    EXPECT_EQ(table.networkName("/data/x"), "");
    EXPECT_EQ(table.networkName("/back/x"), "//srv/b/x");
}

TEST(MountTable, NetworkRootFileSystem) {
    const MountTable table = MountTable::parse("1 0 0:1 / / rw - nfs4 boot:/roots/pc7 rw\n");
    EXPECT_EQ(table.networkName("/"), "//boot/roots/pc7");
    EXPECT_EQ(table.networkName("/etc"), "//boot/roots/pc7/etc");
}

TEST(MountTable, HostileInputStaysBounded) {
    std::string text(20000, 'x');  // one overlong line
    text += "\n1 0 0:1 / /ok rw - cifs //s/h rw\n";
    text += std::string(200, ' ') + "\n";
    for (int i = 0; i < 100; ++i) text += "- ";
    text += "\n2 0 0:2 / /esc\\04 rw - cifs //s/e rw\n";  // an escape cut short stays as written
    text += "3 0 0:3 / /big\\777 rw - cifs //s/b rw\n";   // not a byte: stays as written
    const MountTable table = MountTable::parse(text);
    EXPECT_EQ(table.networkName("/ok/a"), "//s/h/a");
    EXPECT_EQ(table.networkName("/esc\\04/x"), "//s/e/x");
    EXPECT_EQ(table.networkName("/big\\777"), "//s/b");
    EXPECT_EQ(table.mounts().size(), 3u);
}

}  // namespace
}  // namespace vantorel
