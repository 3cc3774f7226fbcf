// Stands in for net.exe in the package test's Wine prefix: fails as
// `net session` fails for a user who is not an administrator.
int main() { return 2; }
