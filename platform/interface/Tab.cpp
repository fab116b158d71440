#include <Tab.h>

#include <Message.h>
#include <TabView.h>
#include <View.h>

B_REGISTER_ARCHIVABLE_CLASS(BTab);


BTab::BTab(BView* contents)
	:
	fView(contents),
	fTabView(NULL),
	fEnabled(true)
{
	if (contents != NULL && contents->Name() != NULL)
		fLabel = contents->Name();
}


BTab::BTab(BMessage* archive)
	:
	BArchivable(archive),
	fView(NULL),
	fTabView(NULL),
	fEnabled(true)
{
	const char* label = NULL;
	if (archive->FindString("_label", &label) == B_OK && label != NULL)
		fLabel = label;
	bool disabled = false;
	if (archive->FindBool("_disable", &disabled) == B_OK)
		fEnabled = !disabled;
}


BTab::~BTab()
{
	if (fView != NULL) {
		fView->RemoveSelf();
		delete fView;
	}
}


BArchivable*
BTab::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BTab") ? new BTab(archive) : NULL;
}


status_t
BTab::Archive(BMessage* archive, bool deep) const
{
	status_t status = BArchivable::Archive(archive, deep);
	if (status == B_OK && !fLabel.empty())
		status = archive->AddString("_label", fLabel.c_str());
	if (status == B_OK && !fEnabled)
		status = archive->AddBool("_disable", true);
	return status;
}


const char*
BTab::Label() const
{
	return fLabel.c_str();
}


void
BTab::SetLabel(const char* label)
{
	fLabel = label != NULL ? label : "";
	if (fTabView != NULL)
		fTabView->_TabChanged(this);
}


bool
BTab::IsSelected() const
{
	return fTabView != NULL && fTabView->TabAt(fTabView->Selection()) == this;
}


void
BTab::SetEnabled(bool enabled)
{
	fEnabled = enabled;
	if (fTabView != NULL)
		fTabView->_TabChanged(this);
}


bool
BTab::IsEnabled() const
{
	return fEnabled;
}


void
BTab::SetView(BView* contents)
{
	if (contents == fView)
		return;
	if (fView != NULL) {
		fView->RemoveSelf();
		delete fView;
	}
	fView = contents;
	if (fTabView != NULL && IsSelected())
		fTabView->_ShowSelected();
}


BView*
BTab::View() const
{
	return fView;
}
