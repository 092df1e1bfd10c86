-- Writing products through izdel, as the legacy import does: a new row becomes
-- a product of the goods table with the given id (or a fresh one), mark and
-- mass, in the nomenclature group named by nom (made when no group has that
-- name; a blank name leaves the product without a group).  A delete removes
-- only products, never other goods.
create or replace function accounts_dep.izdel_write() returns trigger
language plpgsql as $$
declare
    grp integer;
    grp_name varchar(254);
begin
    if tg_op = 'DELETE' then
        delete from cmn_gds_and_srv.gds_and_srv where id = old.id and id_msm_bs = 6;
        return old;
    end if;
    grp_name := nullif(btrim(new.nom), '');
    if grp_name is not null then
        select min(id) into grp from cmn_classifier.item where id_level = 2 and s_caption = grp_name;
        if grp is null then
            insert into cmn_classifier.item(id_level, s_caption, b_excluded)
            values (2, grp_name, 0) returning id into grp;
        end if;
    end if;
    insert into cmn_gds_and_srv.gds_and_srv(id, s_caption, s_description, id_msm_bs, massa, id_class_item)
    values (coalesce(new.id, nextval('cmn_gds_and_srv.gds_and_srv_id_seq')), new.marka, '', 6, new.massa, grp)
    returning id into new.id;
    new.nom := grp_name;
    new.id_class_item := grp;
    new.id_nom := grp;
    return new;
end $$;

drop trigger if exists izdel_write on accounts_dep.izdel;
create trigger izdel_write instead of insert or delete on accounts_dep.izdel
    for each row execute function accounts_dep.izdel_write();
