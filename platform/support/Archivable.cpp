#include <Archivable.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>

#include <cxxabi.h>

#include <Message.h>

namespace {

const char* const kClassField = "class";

// Registrations run from static constructors, in any order; the registry is
// built on first use and never destroyed.
struct Registry {
	std::mutex lock;
	std::map<std::string, instantiation_func> functions;
};

Registry& registry()
{
	static Registry* registry = new Registry;
	return *registry;
}

std::string demangled_name(const std::type_info& type)
{
	int status = 0;
	std::unique_ptr<char, decltype(&free)> name(
		abi::__cxa_demangle(type.name(), NULL, NULL, &status), &free);
	return status == 0 && name != nullptr ? std::string(name.get()) : type.name();
}

}	// namespace

BArchivable::BArchivable() = default;

BArchivable::BArchivable(BMessage*)
{
}

BArchivable::~BArchivable() = default;

status_t BArchivable::Archive(BMessage* into, bool) const
{
	if (into == NULL)
		return B_BAD_VALUE;
	return into->AddString(kClassField, demangled_name(typeid(*this)).c_str());
}

BArchivable* BArchivable::Instantiate(BMessage*)
{
	return NULL;
}

BArchivable* instantiate_object(BMessage* from)
{
	const char* className = NULL;
	if (from == NULL || from->FindString(kClassField, &className) != B_OK)
		return NULL;
	instantiation_func function = find_instantiation_func(className);
	return function != NULL ? function(from) : NULL;
}

bool validate_instantiation(BMessage* from, const char* className)
{
	if (from == NULL || className == NULL)
		return false;
	const char* name = NULL;
	for (int32 index = 0; from->FindString(kClassField, index, &name) == B_OK; index++) {
		if (strcmp(name, className) == 0)
			return true;
	}
	return false;
}

instantiation_func find_instantiation_func(const char* className)
{
	if (className == NULL)
		return NULL;
	Registry& classes = registry();
	std::lock_guard<std::mutex> lock(classes.lock);
	auto found = classes.functions.find(className);
	return found != classes.functions.end() ? found->second : NULL;
}

bool register_instantiation_func(const char* className, instantiation_func function)
{
	Registry& classes = registry();
	std::lock_guard<std::mutex> lock(classes.lock);
	classes.functions[className] = function;
	return true;
}
