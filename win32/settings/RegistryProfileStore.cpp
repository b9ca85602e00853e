#include "RegistryProfileStore.h"

#include <utility>

namespace Win32Ui {

RegistryProfileStore::RegistryProfileStore(HKEY root, std::wstring keyPath)
    : m_tree(root, std::move(keyPath)), m_store(m_tree) {}

std::wstring RegistryProfileStore::KeyPathFor(const std::wstring& organization, const std::wstring& application) {
    return L"Software\\" + organization + L"\\" + application;
}

} // namespace Win32Ui
