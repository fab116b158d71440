#include <TabView.h>

#include <algorithm>

#include <QSignalBlocker>
#include <QTabBar>

#include <ControlQt.h>
#include <Message.h>
#include <Tab.h>
#include <ViewQt.h>

B_REGISTER_ARCHIVABLE_CLASS(BTabView);

namespace {

QTabBar*
tab_bar_of(const BTabView* view)
{
	return static_cast<QTabBar*>(BPrivate::native_widget(view));
}

}


BTabView::BTabView(BRect frame, const char* name, button_width width,
	uint32 resizingMode, uint32 flags)
	:
	BView(frame, name, resizingMode, flags),
	fContainer(NULL),
	fSelection(-1),
	fTabWidth(width),
	fTabHeight(0)
{
	_Init(width);
}


BTabView::BTabView(BMessage* archive)
	:
	BView(archive),
	fContainer(NULL),
	fSelection(-1),
	fTabWidth(B_WIDTH_AS_USUAL),
	fTabHeight(0)
{
	int32 width = B_WIDTH_AS_USUAL;
	archive->FindInt32("_but_width", &width);
	_Init(button_width(width));
	BMessage tabArchive;
	for (int32 i = 0; archive->FindMessage("_l_items", i, &tabArchive) == B_OK; i++) {
		BTab* tab = dynamic_cast<BTab*>(instantiate_object(&tabArchive));
		if (tab == NULL)
			continue;
		BMessage viewArchive;
		BView* view = NULL;
		if (archive->FindMessage("_view_list", i, &viewArchive) == B_OK)
			view = dynamic_cast<BView*>(instantiate_object(&viewArchive));
		AddTab(view, tab);
	}
	int32 selection = 0;
	if (archive->FindInt32("_sel", &selection) == B_OK)
		Select(selection);
}


BTabView::~BTabView()
{
	for (BTab* tab : fTabs) {
		tab->fTabView = NULL;
		delete tab;
	}
}


BArchivable*
BTabView::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BTabView") ? new BTabView(archive) : NULL;
}


status_t
BTabView::Archive(BMessage* archive, bool deep) const
{
	// The container and the tabs' views are archived through the tabs.
	status_t status = BView::Archive(archive, false);
	if (status == B_OK)
		status = archive->AddInt32("_but_width", fTabWidth);
	if (status == B_OK)
		status = archive->AddInt32("_sel", fSelection);
	for (const BTab* tab : fTabs) {
		if (status != B_OK || !deep)
			break;
		BMessage tabArchive;
		status = tab->Archive(&tabArchive, true);
		if (status == B_OK)
			status = archive->AddMessage("_l_items", &tabArchive);
		BMessage viewArchive;
		if (status == B_OK && tab->View() != NULL)
			status = tab->View()->Archive(&viewArchive, true);
		if (status == B_OK)
			status = archive->AddMessage("_view_list", &viewArchive);
	}
	return status;
}


void
BTabView::AttachedToWindow()
{
	if (Parent() != NULL)
		SetViewColor(Parent()->ViewColor());
	fContainer->SetViewColor(ViewColor());
	BView::AttachedToWindow();
}


void
BTabView::AddTab(BView* target, BTab* tab)
{
	if (tab == NULL)
		tab = new BTab(target);
	else if (target != NULL)
		tab->SetView(target);
	tab->fTabView = this;
	fTabs.push_back(tab);
	BPrivate::run_on_gui_thread([&] {
		const QSignalBlocker blocker(tab_bar_of(this));
		tab_bar_of(this)->addTab(BPrivate::literal_label(tab->Label()));
	});
	if (fSelection < 0)
		Select(0);
}


BTab*
BTabView::RemoveTab(int32 index)
{
	BTab* tab = TabAt(index);
	if (tab == NULL)
		return NULL;
	if (tab->View() != NULL)
		tab->View()->RemoveSelf();
	fTabs.erase(fTabs.begin() + index);
	tab->fTabView = NULL;
	BPrivate::run_on_gui_thread([&] {
		const QSignalBlocker blocker(tab_bar_of(this));
		tab_bar_of(this)->removeTab(index);
	});
	if (fSelection == index) {
		fSelection = -1;
		if (!fTabs.empty())
			Select(std::min<int32>(index, CountTabs() - 1));
	} else if (fSelection > index) {
		fSelection--;
	}
	return tab;
}


BTab*
BTabView::TabAt(int32 index) const
{
	return index >= 0 && index < CountTabs() ? fTabs[index] : NULL;
}


int32
BTabView::CountTabs() const
{
	return int32(fTabs.size());
}


int32
BTabView::IndexOf(const BTab* tab) const
{
	for (int32 i = 0; i < CountTabs(); i++) {
		if (fTabs[i] == tab)
			return i;
	}
	return -1;
}


void
BTabView::Select(int32 index)
{
	if (TabAt(index) == NULL || index == fSelection)
		return;
	if (BTab* old = TabAt(fSelection)) {
		if (old->View() != NULL)
			old->View()->RemoveSelf();
	}
	fSelection = index;
	BPrivate::run_on_gui_thread([&] {
		const QSignalBlocker blocker(tab_bar_of(this));
		tab_bar_of(this)->setCurrentIndex(index);
	});
	_ShowSelected();
}


int32
BTabView::Selection() const
{
	return fSelection;
}


BView*
BTabView::ViewForTab(int32 index) const
{
	BTab* tab = TabAt(index);
	return tab != NULL ? tab->View() : NULL;
}


BView*
BTabView::ContainerView() const
{
	return fContainer;
}


void
BTabView::SetTabWidth(button_width width)
{
	fTabWidth = width;
	BPrivate::run_on_gui_thread(
		[this, width] { tab_bar_of(this)->setExpanding(width == B_WIDTH_FROM_WIDEST); });
}


button_width
BTabView::TabWidth() const
{
	return fTabWidth;
}


float
BTabView::TabHeight() const
{
	return fTabHeight;
}


BRect
BTabView::TabFrame(int32 index) const
{
	if (TabAt(index) == NULL)
		return BRect();
	return BPrivate::to_brect(
		BPrivate::run_on_gui_thread([this, index] { return tab_bar_of(this)->tabRect(index); }));
}


void
BTabView::_Init(button_width width)
{
	BPrivate::ensure_interface_kit();
	BPrivate::run_on_gui_thread([this, width] {
		QTabBar* bar = new QTabBar;
		bar->setDrawBase(true);
		bar->setExpanding(width == B_WIDTH_FROM_WIDEST);
		bar->setFocusPolicy(Qt::TabFocus);
		BPrivate::set_native_widget(this, bar);
		BPrivate::adopt_view_font(this);
		// The bar measures its height with a tab in it.
		bar->addTab(QStringLiteral("X"));
		fTabHeight = bar->sizeHint().height();
		bar->removeTab(0);
		QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int index) {
			BPrivate::run_locked(this, [this, index]() { Select(index); });
		});
	});
	const BRect bounds = Bounds();
	fContainer = new BView(BRect(0, fTabHeight, bounds.right, bounds.bottom), "view container",
		B_FOLLOW_ALL, B_FRAME_EVENTS);
	BView::AddChild(fContainer);
}


void
BTabView::_TabChanged(BTab* tab)
{
	const int32 index = IndexOf(tab);
	if (index < 0)
		return;
	BPrivate::run_on_gui_thread([this, tab, index] {
		tab_bar_of(this)->setTabText(index, BPrivate::literal_label(tab->Label()));
		tab_bar_of(this)->setTabEnabled(index, tab->IsEnabled());
	});
}


void
BTabView::_ShowSelected()
{
	BView* view = ViewForTab(fSelection);
	if (view != NULL && view->Parent() != fContainer)
		fContainer->AddChild(view);
}
