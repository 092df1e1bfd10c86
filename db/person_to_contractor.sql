-- Every worker gets a shared person row with his id as id and code, unless
-- one already claims him; a row that claims him by code alone takes his id.
-- A rename follows into his row.  Shared rows are never deleted here: old
-- journal rows of a removed worker stay readable.
create or replace function accounts_dep.person_to_contractor() returns trigger
language plpgsql as $$
begin
    if tg_op = 'INSERT' then
        if not exists (select 1 from cmn_contractor.person c
                        where c.id = new.id or c.s_code = new.id::text) then
            insert into cmn_contractor.person(id, s_caption, s_code) values (new.id, new.fio, new.id::text);
        else
            update cmn_contractor.person set id = new.id
             where s_code = new.id::text and id <> new.id
               and not exists (select 1 from cmn_contractor.person c where c.id = new.id);
        end if;
    elsif new.fio is distinct from old.fio then
        update cmn_contractor.person set s_caption = new.fio where s_code = new.id::text;
    end if;
    return new;
end $$;
